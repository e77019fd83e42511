// How a CSV file is read as a table of counts: its shape, delimiter, the
// columns that hold the categories and counts, and the order of categories.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace marvist {

// The three shapes a table of counts comes in.
enum class TableShape {
    Wide,     // header of column names; each row: its name, then its counts
    Long,     // one row per cell: row category, column category, count
    Records,  // one row per observation; the import counts them
};

// The order of the categories in the table.
enum class CategoryOrder {
    FirstAppearance,  // as they first appear in the file
    Sorted,           // whole numbers by value first, then other names byte by byte
};

// Columns named by their header names; an empty name is not given.
struct TableColumns {
    std::string rows;
    std::string cols;
    std::string count;  // long shape only
};

struct TableReadOptions {
    std::optional<TableShape> shape;  // none: detected
    char delimiter = 0;               // ',', ';' or '\t'; 0: detected
    TableColumns columns;
    CategoryOrder order = CategoryOrder::FirstAppearance;
};

// "wide", "long", "records".
std::string_view shape_name(TableShape shape);
std::optional<TableShape> shape_from_name(std::string_view name);
// "comma", "semicolon", "tab".
std::string_view delimiter_name(char delimiter);
// "comma", "semicolon", "tab" or the character itself; 0 when none of them.
char delimiter_from_name(std::string_view name);

// A table of counts read from a file, categories in their final order.
struct CountTable {
    std::vector<std::string> row_names;  // full names, UTF-8
    std::vector<std::string> col_names;
    std::vector<std::int32_t> counts;    // row by row: counts[i * J + j]
    std::string row_variable;            // UTF-8; empty when the file names none
    std::string col_variable;

    std::size_t rows() const { return row_names.size(); }
    std::size_t cols() const { return col_names.size(); }
    std::int32_t at(std::size_t i, std::size_t j) const { return counts[i * col_names.size() + j]; }
};

}  // namespace marvist
