#include "support/csv_reader.h"

#include <stdexcept>

namespace marvist::test {
namespace {

[[noreturn]] void refuse(const std::string& what, std::size_t at) {
    throw std::runtime_error("CSV: " + what + " at byte " + std::to_string(at));
}

}  // namespace

std::vector<std::vector<std::string>> read_csv(std::string_view text) {
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> record;
    std::size_t k = 0;
    while (k < text.size()) {
        std::string field;
        if (text[k] == '"') {
            ++k;
            for (;;) {
                if (k >= text.size()) refuse("unclosed quote", k);
                if (text[k] == '"') {
                    if (k + 1 < text.size() && text[k + 1] == '"') {
                        field += '"';
                        k += 2;
                        continue;
                    }
                    ++k;
                    break;
                }
                field += text[k++];
            }
        } else {
            while (k < text.size() && text[k] != ',' && text[k] != '\r' && text[k] != '\n') {
                if (text[k] == '"') refuse("quote inside an unquoted field", k);
                field += text[k++];
            }
        }
        record.push_back(std::move(field));
        if (k < text.size() && text[k] == ',') {
            ++k;
            if (k == text.size()) refuse("a comma at the end", k);
            continue;
        }
        if (k + 1 < text.size() && text[k] == '\r' && text[k + 1] == '\n') {
            k += 2;
            if (!records.empty() && records.front().size() != record.size()) refuse("a record of another length", k);
            records.push_back(std::move(record));
            record.clear();
            continue;
        }
        if (k >= text.size()) refuse("no CRLF after the last record", k);
        refuse("a character that cannot follow a field", k);
    }
    return records;
}

}  // namespace marvist::test
