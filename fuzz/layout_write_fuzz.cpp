// Parses a layout and writes a value list through it, to records and to a
// text buffer. Input: the layout on the first line, then one value a line:
// an integer, a real ("1.5", "-0", "inf", "nan", "1e308") or else a text.
#include <charconv>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/layout.h"
#include "base/record_io.h"
#include "fuzz/fuzz_support.h"

namespace {

marvist::Value value_of(const std::string& line) {
    std::int64_t i = 0;
    const char* end = line.data() + line.size();
    auto [p, ec] = std::from_chars(line.data(), end, i);
    if (ec == std::errc() && p == end && !line.empty()) return marvist::Value(static_cast<long long>(i));
    char* stop = nullptr;
    const double d = std::strtod(line.c_str(), &stop);
    if (!line.empty() && stop == line.c_str() + line.size()) return marvist::Value(d);
    return marvist::Value(std::string_view(line));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text = marvist::fuzz::text_of(data, size);
    const std::string layout_text = marvist::fuzz::take_line(text);
    std::vector<std::string> lines;
    while (!text.empty() && lines.size() < 500) lines.push_back(marvist::fuzz::take_line(text));
    // Huge repeat counts and widths write huge records: that is what they ask for.
    if (marvist::fuzz::number_product(layout_text) * static_cast<double>(lines.size() + 1) > 1e7) return -1;

    std::vector<marvist::Value> values;
    for (const std::string& line : lines) values.push_back(value_of(line));

    try {
        const marvist::Layout layout = marvist::Layout::parse(layout_text);
        marvist::CapturedRecords out;
        marvist::write_records(out, layout, values);
        const std::string buffer = marvist::write_to_buffer(layout, values, 80);
        if (buffer.size() != 80) std::abort();
        if (!out.lines.empty() && buffer.substr(0, out.lines[0].size()) != out.lines[0].substr(0, 80)) std::abort();
    } catch (const marvist::LayoutError&) {
        // A text outside the notation.
    } catch (const std::logic_error&) {
        // Values that do not match the layout's items: the caller's error.
    }
    return 0;
}
