// What the first part of a CSV file tells about it: the delimiter, the
// shape of the table and the columns that hold categories and counts.
//
// Delimiter: the head of the file is parsed with a comma, a semicolon and a
// tab. A delimiter fits when every record after the first has the same
// number n >= 2 of fields and the first has n or n - 1 (a wide header
// without its corner cell). Of those that fit, the one with the most fields
// is taken; two that fit with the same number are ambiguous. When none
// fits, the one that splits the first record into the most fields (at
// least two) is taken, so that a ragged row is reported where it is.
//
// Shape, from the header and up to 100 data records (n fields in the
// first). A field is a number when it is empty or made only of digits,
// signs, decimal marks and blanks, and a column holds numbers when more
// than half of its fields are numbers (so a bad count is reported where it
// stands by the reader of that shape, not taken for another shape):
//   n >= 4 and every column after the first holds numbers  wide
//   n = 3, the third column numbers, the first two not     long (columns 1, 2, 3)
//   n = 3, the third and another column numbers            ambiguous (wide, long
//                                                          or records of an id)
//   n = 2                                                  records (columns 1, 2)
//   anything else                                          not detected
// Columns named in the options decide the shape instead: a count column
// means long, rows and columns alone mean records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "import/csv_reader.h"
#include "import/table_options.h"

namespace marvist {

// Bytes of the head examined for the delimiter and shape.
inline constexpr std::size_t kSampleBytes = std::size_t{64} << 10;
// Data records examined for the shape.
inline constexpr std::size_t kSampleRecords = 100;
// Line ends the head holds at least, when the file has them.
inline constexpr std::size_t kSampleMinLines = 4;

// The head of a file: kSampleBytes read from the source, or more until it
// holds kSampleMinLines line ends (a header of many columns), at most
// kMaxCsvRecord bytes.
//   whole: set when the source ended within the head.
std::string read_head(ByteSource& in, bool& whole);

// The first records of the head, parsed with delimiter (header first).
struct CsvSample {
    std::vector<std::vector<std::string>> records;
    std::vector<std::int64_t> lines;  // line of each record
    bool byte_order_mark = false;
    bool crlf = false;
    std::optional<CsvError> error;    // bad input within the head, if any
};

// At most max_records records of head; when the head is not the whole
// file, the record it cuts off is left out. The error is that of bad input
// within the records read (or just after them), not one of the cut.
CsvSample sample_records(std::string_view head, bool whole, char delimiter, std::size_t max_records);

// A guess and, when there is none, why.
template <class T>
struct Guess {
    std::optional<T> value;
    std::string problem;  // a sentence: what was seen and what to give
};

Guess<char> detect_delimiter(std::string_view head, bool whole);
Guess<TableShape> detect_shape(const CsvSample& sample, const TableColumns& columns);

// The fields (from 0) that hold the row and column categories and, in the
// long shape, the counts.
struct ColumnChoice {
    std::size_t rows = 0;
    std::size_t cols = 1;
    std::size_t count = 2;
};

// The columns of a long or records table with header: those named in
// columns, or by default the first three (long, a header of three fields)
// or the first two (records, a header of two). On failure error says which
// name is unknown or missing.
std::optional<ColumnChoice> choose_columns(const std::vector<std::string_view>& header, std::int64_t header_line,
                                           TableShape shape, const TableColumns& columns, CsvError& error);

}  // namespace marvist
