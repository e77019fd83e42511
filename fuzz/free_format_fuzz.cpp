// The free-format reader. Input: the targets on the first line ('i' an
// integer, any other character a text of 12), then the records.
#include <cstdlib>
#include <string>
#include <vector>

#include "base/layout.h"
#include "base/record_io.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text = marvist::fuzz::text_of(data, size);
    std::string kinds = marvist::fuzz::take_line(text);
    if (kinds.size() > 1000) kinds.resize(1000);

    std::vector<std::int64_t> integers(kinds.size(), 0);
    std::vector<std::string> texts(kinds.size(), std::string(12, ' '));
    std::vector<marvist::FreeTarget> targets(kinds.size());
    for (std::size_t k = 0; k < kinds.size(); ++k) {
        if (kinds[k] == 'i') {
            targets[k].integer = &integers[k];
        } else {
            targets[k].text = &texts[k];
            targets[k].length = 12;
        }
    }
    marvist::TextSource records(text);
    // Two read operations: the second starts on the record after the first.
    for (int pass = 0; pass < 2; ++pass) {
        const int status = marvist::read_free_format(records, targets);
        for (const std::string& t : texts) {
            if (t.size() != 12) std::abort();  // a text target keeps its length
        }
        if (status != marvist::kReadOk) break;
    }
    return 0;
}
