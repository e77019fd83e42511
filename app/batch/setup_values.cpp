#include "app/batch/setup_values.h"

namespace marvist {

namespace {

bool blank(char c) { return c == ' ' || c == '\t'; }
bool separator(char c) { return blank(c) || c == ','; }

}  // namespace

SplitStatus split_setup_values(std::string_view line, std::size_t count, std::vector<SetupValue>& values) {
    values.clear();
    std::size_t pos = 0;
    bool after_comma = true;  // a comma here gives an empty value
    while (values.size() < count) {
        while (pos < line.size() && blank(line[pos])) ++pos;
        if (pos >= line.size()) break;
        if (line[pos] == ',') {
            if (after_comma) values.push_back(SetupValue{});
            after_comma = true;
            ++pos;
            continue;
        }
        after_comma = false;
        SetupValue value;
        if (line[pos] != '"') {
            const std::size_t start = pos;
            while (pos < line.size() && !separator(line[pos])) ++pos;
            value.text.assign(line.substr(start, pos - start));
            values.push_back(std::move(value));
            continue;
        }
        value.quoted = true;
        ++pos;
        for (;;) {
            if (pos >= line.size()) return SplitStatus::Unclosed;
            const char c = line[pos++];
            if (c == '"') {
                if (pos < line.size() && line[pos] == '"') {
                    value.text += '"';
                    ++pos;
                    continue;
                }
                break;
            }
            value.text += c;
        }
        if (pos < line.size() && !separator(line[pos])) return SplitStatus::Garbled;
        values.push_back(std::move(value));
    }
    return SplitStatus::Ok;
}

std::string quoted_setup_value(std::string_view value) {
    std::string text = "\"";
    for (char c : value) {
        text += c;
        if (c == '"') text += '"';
    }
    text += '"';
    return text;
}

std::string setup_value_text(std::string_view value) {
    bool plain = !value.empty() && value.front() != '"';
    for (char c : value) {
        if (separator(c)) plain = false;
    }
    return plain ? std::string(value) : quoted_setup_value(value);
}

}  // namespace marvist
