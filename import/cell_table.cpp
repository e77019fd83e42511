// The long and records shapes: one record per cell or per observation.
#include <vector>

#include "import/category_index.h"
#include "import/count_field.h"
#include "import/shape_readers.h"

namespace marvist {
namespace {

// Cell counts that grow with the categories: cells_[r][c].
class GrowingTable {
public:
    // Adds n to cell (r, c); false when the sum would pass kMaxCount.
    bool add(std::size_t r, std::size_t c, std::int32_t n) {
        if (r >= cells_.size()) cells_.resize(r + 1);
        std::vector<std::uint32_t>& row = cells_[r];
        if (c >= row.size()) row.resize(c + 1, 0);
        if (row[c] > static_cast<std::uint32_t>(kMaxCount - n)) return false;
        row[c] += static_cast<std::uint32_t>(n);
        return true;
    }
    std::int32_t at(std::size_t r, std::size_t c) const {
        if (r >= cells_.size() || c >= cells_[r].size()) return 0;
        return static_cast<std::int32_t>(cells_[r][c]);
    }

private:
    std::vector<std::vector<std::uint32_t>> cells_;
};

}  // namespace

bool read_cell_table(CsvReader& reader, TableShape shape, const TableColumns& columns, CategoryOrder order,
                     TableReadResult& result) {
    CsvRecord record;
    if (!reader.next(record)) {
        if (reader.has_error()) return false;
        return read_failure(result, 1, 1, "the file is empty; expected a header row of column names");
    }
    const std::int64_t header_line = record.line;
    const std::size_t width = record.fields.size();
    CsvError error;
    const std::optional<ColumnChoice> chosen = choose_columns(record.fields, header_line, shape, columns, error);
    if (!chosen) return read_failure(result, error.line, error.field, error.message);
    const bool long_shape = shape == TableShape::Long;
    const std::string row_variable(name_of(record.fields[chosen->rows]));
    const std::string col_variable(name_of(record.fields[chosen->cols]));

    CategoryIndex rows, cols;
    GrowingTable cells;
    std::vector<std::int64_t> row_totals, col_totals;
    const int row_field = static_cast<int>(chosen->rows + 1);
    const int col_field = static_cast<int>(chosen->cols + 1);
    const int count_field = static_cast<int>(chosen->count + 1);
    while (reader.next(record)) {
        ++result.records;
        if (record.fields.size() != width) {
            return read_failure(result, record.line, first_wrong_field(record.fields.size(), width),
                                "a row of " + std::to_string(record.fields.size()) + " fields; expected " +
                                    std::to_string(width) + " as in the header");
        }
        const std::string_view row_name = name_of(record.fields[chosen->rows]);
        const std::string_view col_name = name_of(record.fields[chosen->cols]);
        if (row_name.empty()) {
            return read_failure(result, record.line, row_field,
                                "an empty field; expected the name of a row category (" + row_variable + ")");
        }
        if (col_name.empty()) {
            return read_failure(result, record.line, col_field,
                                "an empty field; expected the name of a column category (" + col_variable + ")");
        }
        std::int32_t n = 1;
        if (long_shape) {
            const CountStatus status = parse_count(record.fields[chosen->count], n);
            if (status != CountStatus::Ok) {
                return read_failure(result, record.line, count_field,
                                    count_problem(status, record.fields[chosen->count]));
            }
        }
        const std::size_t r = rows.find_or_add(row_name, record.line);
        const std::size_t c = cols.find_or_add(col_name, record.line);
        if (r == row_totals.size()) row_totals.push_back(0);
        if (c == col_totals.size()) col_totals.push_back(0);
        if (!cells.add(r, c, n)) {
            return read_failure(result, record.line, long_shape ? count_field : row_field,
                                "the cell of row " + quoted_for_message(row_name) + " and column " +
                                    quoted_for_message(col_name) +
                                    " passes 2147483647, the largest count a data file holds; expected smaller counts");
        }
        row_totals[r] += n;
        col_totals[c] += n;
    }
    if (reader.has_error()) return false;
    if (result.records == 0) {
        return read_failure(result, header_line + 1, 1,
                            "the file ends after its header; expected rows of categories below it");
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (row_totals[r] == 0) {
            return read_failure(result, rows.first_line(r), row_field,
                                "the row " + quoted_for_message(rows.names()[r]) +
                                    " has no counts at all (all are 0); expected at least one positive count");
        }
    }
    for (std::size_t c = 0; c < cols.size(); ++c) {
        if (col_totals[c] == 0) {
            return read_failure(result, cols.first_line(c), col_field,
                                "the column " + quoted_for_message(cols.names()[c]) +
                                    " has no counts at all (all are 0); expected at least one positive count");
        }
    }
    if (rows.size() < 2 || cols.size() < 2) {
        const bool few_rows = rows.size() < 2;
        return read_failure(result, header_line + 1, few_rows ? row_field : col_field,
                            "a table of " + std::to_string(rows.size()) + " x " + std::to_string(cols.size()) +
                                ": only one " + (few_rows ? "row" : "column") +
                                " category; expected at least 2 rows and 2 columns");
    }
    assemble_table(rows.names(), cols.names(), order, [&](std::size_t r, std::size_t c) { return cells.at(r, c); },
                   result.table);
    result.table.row_variable = row_variable;
    result.table.col_variable = col_variable;
    return true;
}

}  // namespace marvist
