#include "export/results_export.h"

#include <algorithm>
#include <functional>
#include <future>
#include <thread>
#include <type_traits>
#include <variant>

#include "base/fixed_text.h"
#include "export/csv_text.h"

namespace marvist {
namespace {

// Rows are formatted in chunks of this many, as many chunks at a time as
// there are processor cores (four at most), and written in order: the
// shortest decimal form of a real takes most of an export's time.
constexpr std::int64_t kChunkRows = std::int64_t{1} << 15;
constexpr unsigned kMostWorkers = 4;

constexpr const char* kPackageFile = "datapackage.json";

std::string file_name(const ResultTable& table) { return table.name + ".csv"; }

}  // namespace

void append_csv_cell(std::string& record, const Cell& cell) {
    std::visit(
        [&record](const auto& value) {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, std::int64_t>) append_csv_integer(record, value);
            else if constexpr (std::is_same_v<T, std::uint64_t>) append_csv_unsigned(record, value);
            else if constexpr (std::is_same_v<T, double>) append_csv_real(record, value);
            else if constexpr (std::is_same_v<T, bool>) append_csv_boolean(record, value);
            else if constexpr (std::is_same_v<T, std::string_view>) append_csv_text(record, value);
        },
        cell);
}

std::string cell_text(const Cell& cell) {
    if (const auto* text = std::get_if<std::string_view>(&cell)) return std::string(*text);
    std::string field;
    append_csv_cell(field, cell);
    return field;
}

// Rows first ... last - 1 of the table as CSV records.
std::string csv_rows(const ResultTable& table, std::int64_t first, std::int64_t last) {
    std::string block;
    for (std::int64_t r = first; r < last; ++r) {
        for (std::size_t c = 0; c < table.columns.size(); ++c) {
            if (c > 0) block += kCsvSeparator;
            append_csv_cell(block, table.columns[c].cell(r));
        }
        block += kCsvRecordEnd;
    }
    return block;
}

void write_csv_table(StagedFile& file, const ResultTable& table) {
    std::string header;
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        if (c > 0) header += kCsvSeparator;
        append_csv_text(header, table.columns[c].field.name);
    }
    header += kCsvRecordEnd;
    if (table.rows <= kChunkRows) {
        file.write(header + csv_rows(table, 0, table.rows));
        return;
    }
    if (!file.write(header)) return;
    const std::int64_t workers = std::clamp(std::thread::hardware_concurrency(), 1u, kMostWorkers);
    for (std::int64_t first = 0; first < table.rows; first += workers * kChunkRows) {
        std::vector<std::future<std::string>> others;
        for (std::int64_t w = 1; w < workers && first + w * kChunkRows < table.rows; ++w) {
            const std::int64_t from = first + w * kChunkRows;
            others.push_back(std::async(std::launch::async, csv_rows, std::cref(table), from,
                                        std::min(from + kChunkRows, table.rows)));
        }
        bool written = file.write(csv_rows(table, first, std::min(first + kChunkRows, table.rows)));
        for (std::future<std::string>& chunk : others) written = file.write(chunk.get()) && written;
        if (!written) return;
    }
}

PackageSpec package_of(const JobResults& results, const std::vector<ResultTable>& tables) {
    PackageSpec package;
    package.name = text_of(results.job.job_name);
    if (package.name.empty())
        package.name = std::filesystem::path(text_of(results.job.output_file)).stem().string();
    package.title = std::string(without_leading_blanks(text_of(results.job.title)));
    package.row_variable = text_of(results.table.row_variable);
    package.col_variable = text_of(results.table.col_variable);
    package.description = "Results of a Marvist job as analysed: rows " + package.row_variable +
                          " (the dependent variable), columns " + package.col_variable +
                          (results.table.transposed ? "; the data file's rows and columns exchanged." : ".");
    for (const ResultTable& table : tables) {
        ResourceSpec resource{.name = table.name, .path = file_name(table), .title = table.title, .fields = {}};
        for (const ResultColumn& column : table.columns) resource.fields.push_back(column.field);
        package.resources.push_back(std::move(resource));
    }
    return package;
}

std::optional<FileError> export_results(const std::filesystem::path& folder, const JobResults& results,
                                        const std::optional<PermutationResult>& permutation) {
    if (std::optional<FileError> error = make_folder(folder)) return error;
    const std::vector<ResultTable> tables = result_tables(results, permutation);
    std::vector<StagedFile> files;
    files.reserve(tables.size() + 1);
    for (const ResultTable& table : tables) {
        files.emplace_back(folder / file_name(table));
        if (files.back().error()) return files.back().error();
        write_csv_table(files.back(), table);
        if (files.back().error()) return files.back().error();
    }
    files.emplace_back(folder / kPackageFile);
    files.back().write(data_package_json(package_of(results, tables)));
    return commit_all(files);
}

std::vector<std::string> export_file_names(const JobResults& results,
                                           const std::optional<PermutationResult>& permutation) {
    std::vector<std::string> names;
    for (const ResultTable& table : result_tables(results, permutation)) names.push_back(file_name(table));
    names.push_back(kPackageFile);
    return names;
}

}  // namespace marvist
