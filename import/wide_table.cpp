// The wide shape: a header of column names, then each row's name and counts.
#include <algorithm>

#include "import/category_index.h"
#include "import/count_field.h"
#include "import/shape_readers.h"

namespace marvist {
namespace {

// The row and column variables from a corner cell "rows\columns" (either
// part may be missing).
void variables_from_corner(std::string_view corner, CountTable& table) {
    const std::size_t cut = corner.find('\\');
    table.row_variable = name_of(corner.substr(0, cut));
    table.col_variable = cut == std::string_view::npos ? "" : std::string(name_of(corner.substr(cut + 1)));
}

}  // namespace

bool read_wide_table(CsvReader& reader, CategoryOrder order, TableReadResult& result) {
    CsvRecord header;
    if (!reader.next(header)) {
        if (reader.has_error()) return false;
        return read_failure(result, 1, 1, "the file is empty; expected a header row of column names");
    }
    const std::vector<std::string> header_fields(header.fields.begin(), header.fields.end());
    const std::int64_t header_line = header.line;

    CsvRecord row;
    if (!reader.next(row)) {
        if (reader.has_error()) return false;
        return read_failure(result, header_line + 1, 1,
                            "the file ends after its header; expected rows of a name and counts below it");
    }
    const std::size_t J = row.fields.size() - 1;
    if (J == 0) {
        return read_failure(result, row.line, 1,
                            "a row with a name and no counts; expected a name, then a count under each column name");
    }
    const std::size_t corner = header_fields.size() == J + 1 ? 1 : 0;
    if (header_fields.size() != J + 1 && header_fields.size() != J) {
        return read_failure(result, header_line, static_cast<int>(header_fields.size()),
                            "a header of " + std::to_string(header_fields.size()) + " fields above rows of " +
                                std::to_string(J + 1) + " (line " + std::to_string(row.line) + "); expected " +
                                std::to_string(J) + " column names, after a corner cell or without one");
    }
    CategoryIndex cols;
    for (std::size_t k = corner; k < header_fields.size(); ++k) {
        const int field = static_cast<int>(k + 1);
        const std::string_view name = name_of(header_fields[k]);
        if (name.empty()) {
            return read_failure(result, header_line, field, "an empty column name; expected the name of a column");
        }
        const std::ptrdiff_t earlier = cols.find(name);
        if (earlier >= 0) {
            return read_failure(result, header_line, field,
                                "the column name " + quoted_for_message(name) + " is also field " +
                                    std::to_string(static_cast<std::size_t>(earlier) + corner + 1) +
                                    "; expected each column name once");
        }
        cols.find_or_add(name, header_line);
    }

    CategoryIndex rows;
    std::vector<std::int32_t> cells;  // row by row, in the order of the file
    std::vector<std::int64_t> col_totals(J, 0);
    do {
        ++result.records;
        if (row.fields.size() != J + 1) {
            return read_failure(result, row.line, first_wrong_field(row.fields.size(), J + 1),
                                "a row of " + std::to_string(row.fields.size()) + " fields; expected " +
                                    std::to_string(J + 1) + ": a name, then a count under each of the " +
                                    std::to_string(J) + " column names");
        }
        const std::string_view name = name_of(row.fields[0]);
        if (name.empty()) return read_failure(result, row.line, 1, "an empty row name; expected the name of a row");
        const std::ptrdiff_t earlier = rows.find(name);
        if (earlier >= 0) {
            return read_failure(result, row.line, 1,
                                "the row name " + quoted_for_message(name) + " is also on line " +
                                    std::to_string(rows.first_line(static_cast<std::size_t>(earlier))) +
                                    "; expected each row name once");
        }
        rows.find_or_add(name, row.line);
        std::int64_t row_total = 0;
        for (std::size_t j = 0; j < J; ++j) {
            std::int32_t value = 0;
            const CountStatus status = parse_count(row.fields[j + 1], value);
            if (status != CountStatus::Ok) {
                return read_failure(result, row.line, static_cast<int>(j + 2), count_problem(status, row.fields[j + 1]));
            }
            cells.push_back(value);
            row_total += value;
            col_totals[j] += value;
        }
        if (row_total == 0) {
            return read_failure(result, row.line, 1,
                                "the row " + quoted_for_message(name) +
                                    " has no counts at all (all are 0); expected at least one positive count");
        }
    } while (reader.next(row));
    if (reader.has_error()) return false;

    for (std::size_t j = 0; j < J; ++j) {
        if (col_totals[j] == 0) {
            return read_failure(result, header_line, static_cast<int>(j + corner + 1),
                                "the column " + quoted_for_message(cols.names()[j]) +
                                    " has no counts at all (all are 0); expected at least one positive count");
        }
    }
    if (rows.size() < 2 || J < 2) {
        const bool few_rows = rows.size() < 2;
        return read_failure(result, few_rows ? header_line + 1 : header_line, 1,
                            std::string("a table of ") + std::to_string(rows.size()) + " x " + std::to_string(J) +
                                "; expected at least 2 rows and 2 columns");
    }
    assemble_table(rows.names(), cols.names(), order,
                   [&](std::size_t r, std::size_t c) { return cells[r * J + c]; }, result.table);
    if (corner == 1) variables_from_corner(header_fields[0], result.table);
    return true;
}

}  // namespace marvist
