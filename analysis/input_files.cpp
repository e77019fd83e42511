#include "analysis/input_files.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <optional>

#include "base/fixed_text.h"
#include "base/layout.h"
#include "base/storage.h"

namespace marvist {
namespace {

// True when both names lead to one existing file (the same name, a link).
bool same_file(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec) && !ec;
}

// Status of a read operation to its error code; None when it succeeded.
ErrorCode read_error(int status, ErrorCode end_code, ErrorCode input_code) {
    if (status == kReadOk) return ErrorCode::None;
    return status < 0 ? end_code : input_code;
}

// Reads one record group of the data file into values, which start at 0 so
// that targets a free-format '/' leaves unread count as 0.
class TableReader {
public:
    TableReader(RecordSource& data, std::string_view data_format) : data_(data) {
        const std::string format = fixed(data_format, kDataFormatLength);
        free_format_ = format[0] == '*';
        if (free_format_) return;
        // The layout is parsed once for the whole table; a text outside the
        // notation fails the first read.
        try {
            layout_ = Layout::parse(format);
        } catch (const LayoutError&) {
            layout_.reset();
        }
    }

    // A negative count, or one too large for 32 bits, fails the read as
    // soon as it is read.
    int read(std::span<std::int64_t> values) {
        std::fill(values.begin(), values.end(), std::int64_t{0});
        const IntegerRange counts{0, std::numeric_limits<std::int32_t>::max()};
        if (free_format_) return read_free_format(data_, values, counts);
        if (!layout_) return kReadInputError;
        return read_integers(data_, *layout_, values, counts);
    }

private:
    RecordSource& data_;
    bool free_format_ = false;
    std::optional<Layout> layout_;
};

}  // namespace

std::string job_file_path(std::string_view field, const std::string& base_folder) {
    const std::filesystem::path name(std::string(trimmed(fixed(field, kFileNameLength))));
    if (base_folder.empty() || name.is_absolute() || name.empty()) return name.string();
    return (std::filesystem::path(base_folder) / name).string();
}

void open_job_files(int n_rows, int n_cols, int do_nsca, int n_supp, JobFiles& files,
                    std::string_view output_file, std::string_view data_file, std::string_view label_file,
                    int has_labels, const std::string& base_folder, RunState& rs) {
    // Creating the listing empties its file: a listing named like the data or
    // label file would destroy the input it is about to read.
    const std::string listing = job_file_path(output_file, base_folder);
    const std::string data = job_file_path(data_file, base_folder);
    const std::string labels = job_file_path(label_file, base_folder);
    if (same_file(listing, data) || (has_labels > 0 && same_file(listing, labels))) {
        return fail(rs, ErrorCode::ListingOpen);
    }
    if (!files.listing.open(listing)) return fail(rs, ErrorCode::ListingOpen);
    if (!files.data.open(data)) return fail(rs, ErrorCode::DataOpen);
    if (has_labels > 0 && !files.labels.open(labels)) return fail(rs, ErrorCode::LabelOpen);
    check_table_size(n_rows, n_cols, do_nsca, n_supp, rs);
}

void check_table_size(int n_rows, int n_cols, int do_nsca, int n_supp, RunState& rs) {
    if (n_rows <= 1) fail(rs, ErrorCode::TooFewRows);
    if (n_cols <= 1) fail(rs, ErrorCode::TooFewColumns);
    if (n_supp < 0) fail(rs, ErrorCode::NegativeSupplementary);

    if (do_nsca != 1) return;
    if (rs.n_axes <= 0) {  // a negative number counts as 0
        rs.n_axes = 1;
        warn(rs, ErrorCode::ZeroAxes);
        return;
    }
    const int m = std::min(n_rows, n_cols);
    if (rs.n_axes >= m) {
        // A size below 1 has already failed the job; it must not give a
        // negative number of axes (or overflow for the most negative size).
        rs.n_axes = m > 0 ? m - 1 : 0;
        warn(rs, ErrorCode::TooManyAxes);
    }
}

void read_labels(std::span<std::string> row_labels, std::span<std::string> col_labels, int n_rows, int n_cols,
                 InputFile& labels, RunState& rs) {
    const auto rows = row_labels.first(static_cast<std::size_t>(std::max(n_rows, 0)));
    const auto cols = col_labels.first(static_cast<std::size_t>(std::max(n_cols, 0)));
    // Each target takes six characters as they stand.
    for (std::string& label : rows) label = fixed(label, kLabelLength);
    for (std::string& label : cols) label = fixed(label, kLabelLength);

    const Layout& layout = cached_layout("(13A6)");
    int status = read_characters(labels, layout, rows);
    if (status == kReadOk) status = read_characters(labels, layout, cols);
    if (const ErrorCode code = read_error(status, ErrorCode::LabelEnd, ErrorCode::LabelRead); code != ErrorCode::None)
        fail(rs, code);
    labels.close();
}

void read_table(RecordSource& data, std::string_view data_format, int n_rows, int n_cols, int n_supp,
                int dependence, Matrix<std::int32_t>& counts, Matrix<std::int32_t>& supp_counts, RunState& rs) {
    const bool columns_dependent = dependence == 1;
    const std::int64_t I = n_rows, J = n_cols, S = std::max(n_supp, 0);
    // Rows dependent: the S predictors of a row follow its J counts in one read.
    const std::int64_t width = columns_dependent ? J : J + S;

    Vector<std::int64_t> buffer;
    if (!obtain(buffer, width)) return fail(rs, ErrorCode::Memory);
    const std::span<std::int64_t> values(buffer.data(), static_cast<std::size_t>(width));
    TableReader reader(data, data_format);

    // One read operation; false (after the report) when the job must end.
    const auto read_one = [&]() {
        const ErrorCode code = read_error(reader.read(values), ErrorCode::DataEnd, ErrorCode::DataRead);
        if (code != ErrorCode::None) fail(rs, code);
        return code == ErrorCode::None;
    };

    for (std::int64_t i = 1; i <= I; ++i) {
        if (!read_one()) return;
        for (std::int64_t j = 1; j <= J; ++j) {
            const auto v = static_cast<std::int32_t>(values[j - 1]);
            if (columns_dependent)
                counts(j, i) = v;
            else
                counts(i, j) = v;
        }
        if (!columns_dependent) {
            for (std::int64_t k = 1; k <= S; ++k) supp_counts(i, k) = static_cast<std::int32_t>(values[J + k - 1]);
        }
    }
    if (!columns_dependent) return;
    // Columns dependent: each supplementary record becomes a column of supp_counts.
    for (std::int64_t k = 1; k <= S; ++k) {
        if (!read_one()) return;
        for (std::int64_t j = 1; j <= J; ++j) supp_counts(j, k) = static_cast<std::int32_t>(values[j - 1]);
    }
}

}  // namespace marvist
