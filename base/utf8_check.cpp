#include "base/utf8_check.h"

namespace marvist {

std::size_t utf8_sequence_length(const unsigned char* p, std::size_t available, bool& needs_more) {
    needs_more = false;
    const unsigned b0 = p[0];
    std::size_t length = 0;
    unsigned lo = 0x80, hi = 0xBF;  // range of the second byte
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        if (b0 == 0xE0) lo = 0xA0;  // no overlong forms
        if (b0 == 0xED) hi = 0x9F;  // no surrogates
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        if (b0 == 0xF0) lo = 0x90;  // no overlong forms
        if (b0 == 0xF4) hi = 0x8F;  // nothing beyond U+10FFFF
    } else {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if (k >= available) {
            needs_more = true;
            return 0;
        }
        const unsigned b = p[k];
        if (b < (k == 1 ? lo : 0x80) || b > (k == 1 ? hi : 0xBF)) return 0;
    }
    return length;
}

bool is_utf8(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t k = 0;
    while (k < text.size()) {
        if (p[k] < 0x80) {
            ++k;
            continue;
        }
        bool needs_more = false;
        const std::size_t n = utf8_sequence_length(p + k, text.size() - k, needs_more);
        if (n == 0) return false;
        k += n;
    }
    return true;
}

}  // namespace marvist
