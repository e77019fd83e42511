// The readers of the three shapes, behind read_count_table (table_reader.h).
#pragma once

#include "import/csv_reader.h"
#include "import/table_reader.h"

namespace marvist {

// Wide shape, from the header on. Fills result.table, .records, or .error.
bool read_wide_table(CsvReader& reader, CategoryOrder order, TableReadResult& result);

// Long or records shape, from the header on.
bool read_cell_table(CsvReader& reader, TableShape shape, const TableColumns& columns, CategoryOrder order,
                     TableReadResult& result);

// Fills result.table from names and cells in the given order; cell(r, c)
// is the count of row r and column c in the order the names were found.
template <class CellCount>
void assemble_table(const std::vector<std::string>& row_names, const std::vector<std::string>& col_names,
                    CategoryOrder order, CellCount cell, CountTable& table);

// The field a record of `fields` fields lacks or has too many when it
// should have `expected`: the first missing one or the first extra one.
inline int first_wrong_field(std::size_t fields, std::size_t expected) {
    return static_cast<int>(fields < expected ? fields + 1 : expected + 1);
}

// Failure at a line and field (0: none).
bool read_failure(TableReadResult& result, std::int64_t line, int field, std::string message);

}  // namespace marvist

#include "import/category_index.h"

namespace marvist {

template <class CellCount>
void assemble_table(const std::vector<std::string>& row_names, const std::vector<std::string>& col_names,
                    CategoryOrder order, CellCount cell, CountTable& table) {
    const std::vector<std::size_t> rows = category_order(row_names, order);
    const std::vector<std::size_t> cols = category_order(col_names, order);
    table.row_names.clear();
    table.col_names.clear();
    for (std::size_t r : rows) table.row_names.push_back(row_names[r]);
    for (std::size_t c : cols) table.col_names.push_back(col_names[c]);
    table.counts.assign(rows.size() * cols.size(), 0);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (std::size_t j = 0; j < cols.size(); ++j) table.counts[i * cols.size() + j] = cell(rows[i], cols[j]);
    }
}

}  // namespace marvist
