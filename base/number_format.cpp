#include "base/number_format.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

#include "base/decimal_digits.h"
#include "base/fixed_decimal.h"

namespace marvist {
namespace {

void fill_stars(char* out, int w) { std::memset(out, '*', static_cast<std::size_t>(w)); }

// text right-justified in w positions, or asterisks when it is too long.
void put_right(char* out, int w, std::string_view text) {
    const auto n = static_cast<int>(text.size());
    if (n > w) {
        fill_stars(out, w);
        return;
    }
    std::memset(out, ' ', static_cast<std::size_t>(w - n));
    std::memcpy(out + (w - n), text.data(), text.size());
}

// The Fw.d field of a value whose |v| * 10^d rounds to `scaled`: its digits
// with the point before the last d, written from the right end.
void put_scaled(char* out, int w, int d, std::uint64_t scaled, bool sign) {
    const int digits = count_digits(scaled);
    const bool negative = sign && scaled != 0;
    // Digits with at least a zero before the point, the point, the sign.
    int n = (digits > d ? digits : d + 1) + 1 + (negative ? 1 : 0);
    // The zero before the point goes first when the field is short.
    const bool integer_part = !(n > w && d > 0 && digits <= d);
    if (!integer_part) --n;
    if (n > w) {
        fill_stars(out, w);
        return;
    }
    char* p = out + w;
    if (d == 0) *--p = '.';
    const std::uint64_t whole = put_digits(p, scaled, d);
    if (d > 0) *--p = '.';
    if (integer_part) put_digits(p, whole, digits > d ? digits - d : 1);
    if (negative) *--p = '-';
    std::memset(out, ' ', static_cast<std::size_t>(p - out));
}

// Large values and many decimals: the text first, then the field.
[[gnu::noinline]] void put_text_of(char* out, int w, int d, double v) {
    char buf[kFixedDecimalMax + 1];  // the text and the point added for d = 0
    bool zero = true;
    char* end = fixed_decimal(buf, v, d, zero);
    if (d == 0) *end++ = '.';
    const bool negative = std::signbit(v) && !zero;
    const char* start = buf;
    int n = static_cast<int>(end - buf) + (negative ? 1 : 0);
    // The zero before the point goes first when the field is short.
    if (n > w && buf[0] == '0' && buf[1] == '.' && d > 0) {
        ++start;
        --n;
    }
    if (n > w) {
        fill_stars(out, w);
        return;
    }
    char* p = out;
    std::memset(p, ' ', static_cast<std::size_t>(w - n));
    p += w - n;
    if (negative) *p++ = '-';
    std::memcpy(p, start, static_cast<std::size_t>(end - start));
}

}  // namespace

void format_integer(char* out, int w, int m, std::int64_t v) {
    const bool negative = v < 0;
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
    char digits[24];
    int n = 0;
    if (!(m == 0 && magnitude == 0)) {
        n = static_cast<int>(std::to_chars(digits, digits + sizeof digits, magnitude).ptr - digits);
    }
    const int zeros = m > n ? m - n : 0;
    const int total = n + zeros + (negative ? 1 : 0);
    if (total > w) {
        fill_stars(out, w);
        return;
    }
    char* p = out;
    std::memset(p, ' ', static_cast<std::size_t>(w - total));
    p += w - total;
    if (negative) *p++ = '-';
    std::memset(p, '0', static_cast<std::size_t>(zeros));
    p += zeros;
    std::memcpy(p, digits, static_cast<std::size_t>(n));
}

void format_real(char* out, int w, int d, double v) {
    if (std::isnan(v)) {
        put_right(out, w, "NaN");
        return;
    }
    if (std::isinf(v)) {
        if (v > 0) {
            put_right(out, w, w >= 8 ? "Infinity" : "Inf");
        } else {
            put_right(out, w, w >= 9 ? "-Infinity" : "-Inf");
        }
        return;
    }
    std::uint64_t scaled = 0;
    if (scaled_decimal(v, d, scaled)) {
        put_scaled(out, w, d, scaled, std::signbit(v));
    } else {
        put_text_of(out, w, d, v);
    }
}

}  // namespace marvist
