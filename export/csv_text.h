// CSV text as RFC 4180 defines it: fields separated by commas, records
// ended by CR LF, a field in double quotes when it holds a comma, a double
// quote, CR or LF, with its quotes doubled. Text is UTF-8; numbers use '.'
// as the decimal separator.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace marvist {

inline constexpr char kCsvSeparator = ',';
inline constexpr std::string_view kCsvRecordEnd = "\r\n";

// Room that a number or flag needs at most.
inline constexpr std::size_t kCsvNumberRoom = 32;

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

// The same written in place at `at`, which has room for kCsvNumberRoom bytes
// (text: twice its length and two); each returns the end of what it wrote.
char* put_csv_text(char* at, std::string_view utf8);
char* put_csv_integer(char* at, std::int64_t value);
char* put_csv_unsigned(char* at, std::uint64_t value);
char* put_csv_real(char* at, double value);
char* put_csv_boolean(char* at, bool value);

}  // namespace marvist
