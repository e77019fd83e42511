// Reads integers, and characters, through a user's layout. Input: the layout
// on the first line, the number of targets on the second, then the records.
#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/layout.h"
#include "base/record_io.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text = marvist::fuzz::text_of(data, size);
    const std::string layout_text = marvist::fuzz::take_line(text);
    const std::string count_line = marvist::fuzz::take_line(text);
    std::size_t count = 0;
    std::from_chars(count_line.data(), count_line.data() + count_line.size(), count);
    count = std::min<std::size_t>(count, 1000);

    marvist::Layout layout;
    try {
        layout = marvist::Layout::parse(layout_text);
    } catch (const marvist::LayoutError&) {
        return 0;
    }
    std::vector<std::int64_t> integers(count, 7);
    marvist::TextSource records(text);
    const int status = marvist::read_integers(records, layout, integers);
    if (status != marvist::kReadOk && status != marvist::kReadEndOfFile && status != marvist::kReadInputError) {
        std::abort();
    }

    std::vector<std::string> texts(count);
    for (std::size_t k = 0; k < count; ++k) texts[k].assign(k % 13, '?');
    marvist::TextSource again(text);
    marvist::read_characters(again, layout, texts);
    for (std::size_t k = 0; k < count; ++k) {
        if (texts[k].size() != k % 13) std::abort();  // each target keeps its length
    }
    return 0;
}
