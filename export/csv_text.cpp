#include "export/csv_text.h"

#include <charconv>
#include <cmath>

namespace marvist {

namespace {

bool needs_quotes(std::string_view text) {
    for (const char ch : text) {
        if (ch == ',' || ch == '"' || ch == '\r' || ch == '\n') return true;
    }
    return false;
}

}  // namespace

void append_csv_text(std::string& record, std::string_view utf8) {
    if (!needs_quotes(utf8)) {
        record += utf8;
        return;
    }
    record += '"';
    for (const char ch : utf8) {
        if (ch == '"') record += '"';
        record += ch;
    }
    record += '"';
}

void append_csv_integer(std::string& record, std::int64_t value) {
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    record.append(buffer, end);
}

void append_csv_unsigned(std::string& record, std::uint64_t value) {
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    record.append(buffer, end);
}

void append_csv_real(std::string& record, double value) {
    if (std::isnan(value)) return;
    if (std::isinf(value)) {
        record += value > 0 ? "INF" : "-INF";
        return;
    }
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    record.append(buffer, end);
}

void append_csv_boolean(std::string& record, bool value) { record += value ? "TRUE" : "FALSE"; }

}  // namespace marvist
