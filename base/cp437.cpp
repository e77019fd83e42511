#include "base/cp437.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace marvist {
namespace {

// Unicode code points of the bytes 0x80-0xFF.
constexpr std::array<char32_t, 128> kHigh = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,  // 80
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,  // 90
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,  // A0
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,  // B0
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,  // C0
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,  // D0
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,  // E0
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,  // F0
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

struct Entry {
    char32_t code;
    unsigned char byte;
};

// kHigh inverted and sorted by code point, for the UTF-8 direction.
constexpr std::array<Entry, 128> make_inverse() {
    std::array<Entry, 128> inv{};
    for (std::size_t i = 0; i < 128; ++i) inv[i] = {kHigh[i], static_cast<unsigned char>(0x80 + i)};
    std::sort(inv.begin(), inv.end(), [](const Entry& a, const Entry& b) { return a.code < b.code; });
    return inv;
}
constexpr std::array<Entry, 128> kInverse = make_inverse();

void append_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one well-formed UTF-8 sequence of two to four bytes at text[k].
// Returns its length, or 0 when the bytes there are not such a sequence.
std::size_t decode_utf8(std::string_view text, std::size_t k, char32_t& code) {
    const auto b0 = static_cast<unsigned char>(text[k]);
    std::size_t len = 0;
    char32_t c = 0, min = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2, c = b0 & 0x1F, min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3, c = b0 & 0x0F, min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4, c = b0 & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (k + len > text.size()) return 0;
    for (std::size_t i = 1; i < len; ++i) {
        const auto b = static_cast<unsigned char>(text[k + i]);
        if ((b & 0xC0) != 0x80) return 0;
        c = (c << 6) | (b & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    code = c;
    return len;
}

}  // namespace

std::string cp437_to_utf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) {
            out += ch;
        } else {
            append_utf8(out, kHigh[b - 0x80]);
        }
    }
    return out;
}

std::string utf8_to_cp437(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t k = 0;
    while (k < text.size()) {
        const auto b = static_cast<unsigned char>(text[k]);
        char32_t code = 0;
        const std::size_t len = b < 0x80 ? 0 : decode_utf8(text, k, code);
        if (len == 0) {
            // ASCII, or a byte that does not start valid UTF-8: kept as it stands.
            out += text[k];
            ++k;
            continue;
        }
        const auto it = std::lower_bound(kInverse.begin(), kInverse.end(), code,
                                         [](const Entry& e, char32_t c) { return e.code < c; });
        out += (it != kInverse.end() && it->code == code) ? static_cast<char>(it->byte) : '?';
        k += len;
    }
    return out;
}

}  // namespace marvist
