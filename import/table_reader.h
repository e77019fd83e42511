// A table of counts read from a CSV file in any of its three shapes.
//
//   wide     a header of column names (after a corner cell, which may be
//            left out), then one record per row: its name, then a count
//            under each column name
//   long     a header; one record per cell: row name, column name, count,
//            in the columns chosen by header name; counts of a cell that
//            appears more than once are added
//   records  a header; one record per observation, counted by the row and
//            column names in the chosen columns; read as a stream, keeping
//            only the distinct categories and the table
//
// Names are taken without the blanks before and after them. Every name must
// be non-empty, every count a whole number from 0 to 2147483647 (also the
// sum of a cell), every row and column must hold a positive count, and the
// table at least two rows and two columns. Delimiter and shape, when not
// given, are detected as csv_sniff.h says.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "import/csv_reader.h"
#include "import/csv_sniff.h"
#include "import/table_options.h"

namespace marvist {

struct TableReadResult {
    bool ok = false;
    CountTable table;       // when ok
    CsvError error;         // when not ok; line 0: not about one line
    char delimiter = 0;     // as detected or given, once known
    std::optional<TableShape> shape;
    std::int64_t records = 0;   // data records read
    std::uint64_t bytes = 0;    // bytes read from the source
    bool byte_order_mark = false;
};

// Reads the whole table from in, from the start of the file.
TableReadResult read_count_table(ByteSource& in, const TableReadOptions& options);

// The head of a file as the import would read it, for a preview.
struct TablePreview {
    Guess<char> delimiter;         // given or detected
    Guess<TableShape> shape;       // given or detected (with the delimiter)
    CsvSample sample;              // header first, then the first data records
    bool whole_file = false;       // the sample holds the whole file
};

// Reads the head of in (kSampleBytes or more) and up to max_rows records
// after the header.
TablePreview preview_table(ByteSource& in, const TableReadOptions& options, std::size_t max_rows);

}  // namespace marvist
