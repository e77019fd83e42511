// CSV text as RFC 4180 defines it: fields separated by commas, records
// ended by CR LF, a field in double quotes when it holds a comma, a double
// quote, CR or LF, with its quotes doubled. Text is UTF-8; numbers use '.'
// as the decimal separator.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace marvist {

inline constexpr char kCsvSeparator = ',';
inline constexpr std::string_view kCsvRecordEnd = "\r\n";

// Each appends one field's text to the record under construction (the
// separator is the caller's).
void append_csv_text(std::string& record, std::string_view utf8);
void append_csv_integer(std::string& record, std::int64_t value);
void append_csv_unsigned(std::string& record, std::uint64_t value);
// The shortest decimal form that reads back as the same double; nothing
// (an empty field) for a value that is not a number, INF and -INF for the
// infinities.
void append_csv_real(std::string& record, double value);
// TRUE or FALSE (as R reads them).
void append_csv_boolean(std::string& record, bool value);

}  // namespace marvist
