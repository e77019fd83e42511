#include "import/csv_sniff.h"

#include <algorithm>
#include <array>

#include "import/count_field.h"

namespace marvist {
namespace {

constexpr std::array<char, 3> kDelimiters = {',', ';', '\t'};

// A field meant as a number, good or bad: empty, or only digits, signs,
// decimal marks and blanks. A bad count is so reported where it stands,
// rather than hiding the shape.
bool looks_numeric(std::string_view field) {
    return std::all_of(field.begin(), field.end(), [](char c) {
        return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == ',' || c == ' ';
    });
}

std::string field_list(const std::vector<std::string_view>& header) {
    std::string list;
    const std::size_t shown = std::min<std::size_t>(header.size(), 20);
    for (std::size_t k = 0; k < shown; ++k) {
        if (k > 0) list += ", ";
        list += std::to_string(k + 1) + " " + quoted_for_message(name_of(header[k]));
    }
    if (shown < header.size()) list += ", ...";
    return list;
}

}  // namespace

std::string read_head(ByteSource& in, bool& whole) {
    std::string head;
    std::size_t n = 0, lines = 0;
    whole = false;
    while (n < kSampleBytes || (lines < kSampleMinLines && n < kMaxCsvRecord)) {
        head.resize(head.empty() ? kSampleBytes : std::min(head.size() * 2, kMaxCsvRecord));
        while (n < head.size()) {
            const std::size_t got = in.read(head.data() + n, head.size() - n);
            if (got == 0) {
                whole = true;
                break;
            }
            lines += static_cast<std::size_t>(std::count(head.begin() + n, head.begin() + n + got, '\n'));
            n += got;
        }
        if (whole) break;
    }
    head.resize(n);
    return head;
}

CsvSample sample_records(std::string_view head, bool whole, char delimiter, std::size_t max_records) {
    CsvSample sample;
    // A head cut from a longer file is read up to its last line end, so
    // that every record read is whole; only a quoted field open across
    // that line end can still be cut, which the reader tells apart.
    std::string_view used = head;
    const std::size_t last_line_end = head.rfind('\n');
    if (!whole && last_line_end != std::string_view::npos) used = head.substr(0, last_line_end + 1);
    MemoryBytes bytes(used);
    CsvReader reader(bytes, delimiter);
    CsvRecord record;
    while (sample.records.size() < max_records && reader.next(record)) {
        sample.records.emplace_back(record.fields.begin(), record.fields.end());
        sample.lines.push_back(record.line);
    }
    if (reader.has_error() && (whole || !reader.error().input_ended)) sample.error = reader.error();
    if (!whole && last_line_end == std::string_view::npos && !sample.records.empty()) {
        sample.records.pop_back();  // one line, cut by the end of the head
        sample.lines.pop_back();
    }
    sample.byte_order_mark = reader.had_byte_order_mark();
    sample.crlf = reader.saw_crlf();
    return sample;
}

Guess<char> detect_delimiter(std::string_view head, bool whole) {
    struct Fit {
        char delimiter;
        std::size_t fields;  // in the records after the first
        bool fits;
        std::size_t first;   // fields of the first record
    };
    std::vector<Fit> fits;
    for (char d : kDelimiters) {
        const CsvSample sample = sample_records(head, whole, d, kSampleRecords + 1);
        Fit fit{d, 0, false, sample.records.empty() ? 0 : sample.records[0].size()};
        if (sample.records.size() >= 2) {
            fit.fields = sample.records[1].size();
            fit.fits = fit.fields >= 2 && (fit.first == fit.fields || fit.first + 1 == fit.fields) &&
                       std::all_of(sample.records.begin() + 1, sample.records.end(),
                                   [&](const auto& r) { return r.size() == fit.fields; });
        }
        fits.push_back(fit);
    }
    const Fit* best = nullptr;
    const Fit* tie = nullptr;
    for (const Fit& f : fits) {
        if (!f.fits) continue;
        if (best == nullptr || f.fields > best->fields) {
            best = &f;
            tie = nullptr;
        } else if (f.fields == best->fields) {
            tie = &f;
        }
    }
    if (best != nullptr && tie != nullptr) {
        return {std::nullopt, "the " + std::string(delimiter_name(best->delimiter)) + " and the " +
                                  std::string(delimiter_name(tie->delimiter)) + " both split every line into " +
                                  std::to_string(best->fields) + " fields; expected the delimiter to be given"};
    }
    if (best != nullptr) return {best->delimiter, {}};
    for (const Fit& f : fits) {
        if (f.first >= 2 && (best == nullptr || f.first > best->first)) best = &f;
    }
    if (best != nullptr) return {best->delimiter, {}};
    return {std::nullopt,
            "the first line holds no comma, semicolon or tab outside double quotes; expected fields separated by "
            "one of them"};
}

Guess<TableShape> detect_shape(const CsvSample& sample, const TableColumns& columns) {
    if (!columns.count.empty()) return {TableShape::Long, {}};
    if (!columns.rows.empty() || !columns.cols.empty()) return {TableShape::Records, {}};
    if (sample.records.size() < 2) {
        return {std::nullopt, "there are no rows below the header to tell the shape from; expected the shape to be given"};
    }
    const std::size_t n = sample.records[1].size();
    // Column k holds numbers: in more than half of the records sampled (a
    // typo in a count leaves a column of counts a column of counts).
    auto numbers = [&](std::size_t k) {
        std::size_t seen = 0, numeric = 0;
        for (auto r = sample.records.begin() + 1; r != sample.records.end(); ++r) {
            if (k >= r->size()) continue;
            ++seen;
            if (looks_numeric((*r)[k])) ++numeric;
        }
        return 2 * numeric > seen;
    };
    bool all_numbers = n >= 2;
    for (std::size_t k = 1; k < n && all_numbers; ++k) all_numbers = numbers(k);
    if (n >= 4 && all_numbers) return {TableShape::Wide, {}};
    if (n == 3 && numbers(2) && !numbers(1) && !numbers(0)) return {TableShape::Long, {}};
    if (n == 3 && numbers(2)) {
        return {std::nullopt,
                "three columns with numbers in the third and another: a wide table of two columns, a long table "
                "whose categories are numbers, or records with numbers; expected the shape to be given"};
    }
    if (n == 2) return {TableShape::Records, {}};
    return {std::nullopt, "the rows hold " + std::to_string(n) +
                              " fields, not all numbers after the first; expected the shape and the columns of the row "
                              "and column categories to be given"};
}

std::optional<ColumnChoice> choose_columns(const std::vector<std::string_view>& header, std::int64_t header_line,
                                           TableShape shape, const TableColumns& columns, CsvError& error) {
    const bool long_shape = shape == TableShape::Long;
    const bool any_named = !columns.rows.empty() || !columns.cols.empty() || (long_shape && !columns.count.empty());
    const std::size_t needed = long_shape ? 3 : 2;
    if (!any_named) {
        if (header.size() == needed) return ColumnChoice{0, 1, 2};
        error = CsvError{header_line, 0,
                         "the header has " + std::to_string(header.size()) + " columns; expected the columns of the "
                         "row and column categories" + (long_shape ? std::string(" and of the counts") : "") +
                         " to be chosen by name (--rows, --cols" + (long_shape ? ", --count)" : ")")};
        return std::nullopt;
    }
    if (!long_shape && !columns.count.empty()) {
        error = CsvError{header_line, 0, "a column of counts is named, but records are counted one by one; expected "
                                         "the long shape for a column of counts"};
        return std::nullopt;
    }
    std::array<std::size_t, 3> chosen{};
    const std::array<const std::string*, 3> names{&columns.rows, &columns.cols, &columns.count};
    const std::array<const char*, 3> roles{"the row categories", "the column categories", "the counts"};
    for (std::size_t r = 0; r < needed; ++r) {
        if (names[r]->empty()) {
            error = CsvError{header_line, 0,
                             std::string("no column is chosen for ") + roles[r] + "; expected its header name"};
            return std::nullopt;
        }
        std::vector<std::size_t> found;
        for (std::size_t k = 0; k < header.size(); ++k) {
            if (name_of(header[k]) == name_of(*names[r])) found.push_back(k);
        }
        if (found.empty()) {
            error = CsvError{header_line, 0,
                             "no column is named " + quoted_for_message(*names[r]) + " (for " + roles[r] +
                                 "); expected one of the header's fields: " + field_list(header)};
            return std::nullopt;
        }
        if (found.size() > 1) {
            error = CsvError{header_line, static_cast<int>(found[1] + 1),
                             "two columns are named " + quoted_for_message(*names[r]) + " (fields " +
                                 std::to_string(found[0] + 1) + " and " + std::to_string(found[1] + 1) +
                                 "); expected a name that picks one column"};
            return std::nullopt;
        }
        chosen[r] = found[0];
        for (std::size_t q = 0; q < r; ++q) {
            if (chosen[q] == chosen[r]) {
                error = CsvError{header_line, static_cast<int>(chosen[r] + 1),
                                 std::string("the same column is chosen for ") + roles[q] + " and " + roles[r] +
                                     "; expected different columns"};
                return std::nullopt;
            }
        }
    }
    return ColumnChoice{chosen[0], chosen[1], long_shape ? chosen[2] : 0};
}

}  // namespace marvist
