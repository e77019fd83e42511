// The parsed form of a layout: a flat item list in source order, in which a
// group is followed by its own items, so the writer and the readers walk it
// with plain index ranges and no allocation.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace marvist {

struct LayoutItem {
    enum class Kind : std::uint8_t {
        Literal,  // 'text': bytes [first, first + length) of LayoutTree::text
        Slash,    // '/': end of record, repeat times
        Skip,     // nX: width blanks (writing) or skipped characters (reading)
        Integer,  // Iw or Iw.m, repeat times
        Real,     // Fw.d, repeat times
        Text,     // A or Aw (width 0 for A), repeat times
        Colon,    // ':': stop when no values remain
        Group     // r(...): its items are [index + 1, end)
    };

    Kind kind = Kind::Literal;
    std::int32_t repeat = 1;  // repeat count of a descriptor, '/' or group
    std::int32_t width = 0;   // w of I, F, A; n of nX
    std::int32_t digits = -1; // m of Iw.m (-1 without .m); d of Fw.d
    std::uint32_t first = 0;  // literal: offset into LayoutTree::text
    std::uint32_t length = 0; // literal: byte count
    std::uint32_t end = 0;    // group: index one past its last item
    bool has_data = false;    // group: holds an I, F or A item (at any depth)
};

struct LayoutTree {
    std::vector<LayoutItem> items;  // the top-level list is [0, items.size())
    std::string text;               // literal characters, code-page-437 bytes
    std::uint32_t reversion = 0;    // where reversion resumes: the last top-level group, or 0
    bool ends_record = true;        // false when the layout ends with '$'
    bool has_data = false;          // some item reads or writes a value
    bool reversion_has_data = false;  // the items from `reversion` on hold a data item
    std::int64_t data_per_pass = 0;   // values used by one pass over the whole layout (saturated)
    bool has_literal = false, has_integer = false, has_real = false, has_text = false;
};

}  // namespace marvist
