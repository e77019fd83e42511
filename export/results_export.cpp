#include "export/results_export.h"

#include <algorithm>
#include <type_traits>
#include <variant>

#include "base/fixed_text.h"
#include "base/made_in_order.h"
#include "export/csv_text.h"

namespace marvist {
namespace {

// Rows are formatted in chunks of this many, on as many threads as there are
// processor cores (four at most), and written in order: the shortest
// decimal form of a real takes most of an export's time.
constexpr std::int64_t kChunkRows = std::int64_t{1} << 14;
constexpr int kMostWorkers = 4;

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

namespace {

// Writes one cell in place (export/csv_text.h); `at` has room for it.
char* put_csv_cell(char* at, const Cell& cell) {
    return std::visit(
        [at](const auto& value) -> char* {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, std::int64_t>) return put_csv_integer(at, value);
            else if constexpr (std::is_same_v<T, std::uint64_t>) return put_csv_unsigned(at, value);
            else if constexpr (std::is_same_v<T, double>) return put_csv_real(at, value);
            else if constexpr (std::is_same_v<T, bool>) return put_csv_boolean(at, value);
            else if constexpr (std::is_same_v<T, std::string_view>) return put_csv_text(at, value);
            else return at;
        },
        cell);
}

// Room a cell needs in place.
std::size_t room_for(const Cell& cell) {
    if (const auto* text = std::get_if<std::string_view>(&cell)) return 2 * text->size() + 2;
    return kCsvNumberRoom;
}

// Rows first ... last - 1 of the table as CSV records, written in place into
// a block that grows as needed.
std::string csv_rows(const ResultTable& table, std::int64_t first, std::int64_t last) {
    // Room for about 20 characters a cell; more is made when a block needs it.
    std::string block(static_cast<std::size_t>(last - first) * (20 * table.columns.size() + 2) + 1024, '\0');
    std::size_t used = 0;
    for (std::int64_t r = first; r < last; ++r) {
        for (std::size_t c = 0; c < table.columns.size(); ++c) {
            const Cell cell = table.columns[c].cell(r);
            const std::size_t room = room_for(cell) + 3;  // with the separator or the record end
            if (used + room > block.size()) block.resize(2 * block.size() + room);
            char* at = block.data() + used;
            if (c > 0) *at++ = kCsvSeparator;
            at = put_csv_cell(at, cell);
            used = static_cast<std::size_t>(at - block.data());
        }
        block[used++] = kCsvRecordEnd[0];
        block[used++] = kCsvRecordEnd[1];
    }
    block.resize(used);
    return block;
}

// A block of rows of one table; the first holds the table's header line too.
struct Chunk {
    std::size_t table = 0;
    std::int64_t first = 0, last = 0;
};

std::string header_line(const ResultTable& table) {
    std::string header;
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        if (c > 0) header += kCsvSeparator;
        append_csv_text(header, table.columns[c].field.name);
    }
    header += kCsvRecordEnd;
    return header;
}

std::string format_chunk(const Chunk& chunk, const ResultTable& table) {
    if (chunk.first != 0) return csv_rows(table, chunk.first, chunk.last);
    std::string text = header_line(table);
    text += csv_rows(table, chunk.first, chunk.last);
    return text;
}

}  // namespace

void write_csv_tables(std::vector<StagedFile>& files, const std::vector<ResultTable>& tables) {
    std::vector<Chunk> chunks;
    for (std::size_t t = 0; t < tables.size(); ++t) {
        std::int64_t first = 0;
        do {
            const std::int64_t last = std::min(first + kChunkRows, tables[t].rows);
            chunks.push_back(Chunk{.table = t, .first = first, .last = last});
            first = last;
        } while (first < tables[t].rows);
    }
    // Each chunk's text is made on the processor's cores and written in order
    // here; a write that fails stops the rest (the file keeps its error).
    make_in_order<std::string>(
        static_cast<std::int64_t>(chunks.size()), processor_threads(kMostWorkers),
        [&](std::int64_t k, std::string& text) {
            const Chunk& chunk = chunks[static_cast<std::size_t>(k)];
            text = format_chunk(chunk, tables[chunk.table]);
        },
        [&](std::int64_t k, const std::string& text) {
            return files[chunks[static_cast<std::size_t>(k)].table].write(text);
        });
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

std::optional<OutputError> export_results(const std::filesystem::path& folder, const JobResults& results,
                                        const std::optional<PermutationResult>& permutation) {
    if (std::optional<OutputError> error = create_folder(folder)) return error;
    const std::vector<ResultTable> tables = result_tables(results, permutation);
    std::vector<StagedFile> files;
    files.reserve(tables.size() + 1);
    for (const ResultTable& table : tables) {
        files.emplace_back(folder / file_name(table));
        if (files.back().error()) return files.back().error();
    }
    write_csv_tables(files, tables);
    for (const StagedFile& file : files) {
        if (file.error()) return file.error();
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
