#include "export/csv_text.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace marvist {

namespace {

bool needs_quotes(std::string_view text) {
    for (const char ch : text) {
        if (ch == ',' || ch == '"' || ch == '\r' || ch == '\n') return true;
    }
    return false;
}

char* put_literal(char* at, std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

// Appends what put writes into a buffer of kCsvNumberRoom bytes.
template <class Put>
void append_put(std::string& record, Put put) {
    char buffer[kCsvNumberRoom];
    record.append(buffer, put(buffer));
}

}  // namespace

char* put_csv_text(char* at, std::string_view utf8) {
    if (!needs_quotes(utf8)) return put_literal(at, utf8);
    *at++ = '"';
    for (const char ch : utf8) {
        if (ch == '"') *at++ = '"';
        *at++ = ch;
    }
    *at++ = '"';
    return at;
}

char* put_csv_integer(char* at, std::int64_t value) { return std::to_chars(at, at + kCsvNumberRoom, value).ptr; }

char* put_csv_unsigned(char* at, std::uint64_t value) { return std::to_chars(at, at + kCsvNumberRoom, value).ptr; }

char* put_csv_real(char* at, double value) {
    if (std::isnan(value)) return at;
    if (std::isinf(value)) return put_literal(at, value > 0 ? "INF" : "-INF");
    return std::to_chars(at, at + kCsvNumberRoom, value).ptr;
}

char* put_csv_boolean(char* at, bool value) { return put_literal(at, value ? "TRUE" : "FALSE"); }

void append_csv_text(std::string& record, std::string_view utf8) {
    const std::size_t at = record.size();
    record.resize(at + 2 * utf8.size() + 2);
    record.resize(static_cast<std::size_t>(put_csv_text(record.data() + at, utf8) - record.data()));
}

void append_csv_integer(std::string& record, std::int64_t value) {
    append_put(record, [value](char* at) { return put_csv_integer(at, value); });
}

void append_csv_unsigned(std::string& record, std::uint64_t value) {
    append_put(record, [value](char* at) { return put_csv_unsigned(at, value); });
}

void append_csv_real(std::string& record, double value) {
    append_put(record, [value](char* at) { return put_csv_real(at, value); });
}

void append_csv_boolean(std::string& record, bool value) {
    append_put(record, [value](char* at) { return put_csv_boolean(at, value); });
}

}  // namespace marvist
