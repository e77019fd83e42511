// The CSV reader and the table readers on arbitrary bytes. The first byte
// chooses the options (delimiter given or detected, shape, order); the
// rest is the file. Checks that a table read is a table a job can take,
// that its labels are unique, and that the reader gives the same records
// whether the bytes come whole or a few at a time.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "import/csv_reader.h"
#include "import/short_labels.h"
#include "import/table_reader.h"

namespace {

using marvist::ByteSource;

class Trickle : public ByteSource {
public:
    Trickle(std::string_view bytes, std::size_t step) : bytes_(bytes), step_(step) {}
    std::size_t read(char* into, std::size_t max) override {
        const std::size_t n = std::min({max, step_, bytes_.size()});
        std::copy_n(bytes_.data(), n, into);
        bytes_.remove_prefix(n);
        return n;
    }

private:
    std::string_view bytes_;
    std::size_t step_;
};

std::vector<std::vector<std::string>> records_of(ByteSource& bytes, char delimiter, marvist::CsvError& error) {
    marvist::CsvReader reader(bytes, delimiter);
    marvist::CsvRecord record;
    std::vector<std::vector<std::string>> records;
    while (reader.next(record)) records.emplace_back(record.fields.begin(), record.fields.end());
    error = reader.error();
    return records;
}

void check_unique(const std::vector<std::string>& names) {
    if (std::set<std::string>(names.begin(), names.end()).size() != names.size()) std::abort();
    const auto labels = marvist::short_labels(names);
    if (!labels) return;
    if (std::set<std::string>(labels->begin(), labels->end()).size() != names.size()) std::abort();
    for (const std::string& label : *labels) {
        if (label.size() != 6) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t choice = data[0];
    const std::string text = marvist::fuzz::text_of(data + 1, size - 1);

    const char delimiters[] = {0, ',', ';', '\t'};
    marvist::TableReadOptions options;
    options.delimiter = delimiters[choice & 3];
    if ((choice >> 2) & 3) options.shape = static_cast<marvist::TableShape>(((choice >> 2) & 3) - 1);
    if (choice & 16) options.columns = {"r", "c", (choice & 32) ? "n" : ""};
    options.order = (choice & 64) ? marvist::CategoryOrder::Sorted : marvist::CategoryOrder::FirstAppearance;

    marvist::MemoryBytes whole(text);
    const marvist::TableReadResult read = marvist::read_count_table(whole, options);
    if (read.ok) {
        const marvist::CountTable& t = read.table;
        if (t.rows() < 2 || t.cols() < 2 || t.counts.size() != t.rows() * t.cols()) std::abort();
        for (std::size_t i = 0; i < t.rows(); ++i) {
            std::int64_t total = 0;
            for (std::size_t j = 0; j < t.cols(); ++j) {
                if (t.at(i, j) < 0) std::abort();
                total += t.at(i, j);
            }
            if (total == 0) std::abort();
        }
        check_unique(t.row_names);
        check_unique(t.col_names);
    } else if (read.error.message.find("expected") == std::string::npos) {
        std::abort();  // every refusal says what was expected
    }

    // Records read whole and a few bytes at a time are the same.
    const char delimiter = options.delimiter ? options.delimiter : ',';
    marvist::MemoryBytes all(text);
    Trickle few(text, 1 + choice % 5);
    marvist::CsvError error_all, error_few;
    if (records_of(all, delimiter, error_all) != records_of(few, delimiter, error_few)) std::abort();
    if (error_all.line != error_few.line || error_all.field != error_few.field ||
        error_all.message != error_few.message) {
        std::abort();
    }
    return 0;
}
