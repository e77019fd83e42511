// The fixed-notation text of a double, compared with two references over
// many values and decimal counts: the C library's printf ("%.*f", which
// rounds the exact binary value to nearest, ties to even) and
// std::to_chars in fixed notation, which the number fields used before.
// MARVIST_FIXED_DECIMAL_CASES (default 400000) sets how many random values
// each family of values draws.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "base/fixed_decimal.h"
#include "base/number_format.h"

namespace marvist {
namespace {

// A 64-bit generator (splitmix64): the same values on every run.
class Bits {
public:
    explicit Bits(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }

private:
    std::uint64_t state_;
};

long cases() {
    const char* text = std::getenv("MARVIST_FIXED_DECIMAL_CASES");
    return text != nullptr ? std::strtol(text, nullptr, 10) : 400000;
}

double from_bits(std::uint64_t bits) {
    double v = 0;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

std::string ours(double v, int d) {
    char buf[kFixedDecimalMax];
    bool zero = false;
    const char* end = fixed_decimal(buf, v, d, zero);
    const std::string text(static_cast<const char*>(buf), end);
    EXPECT_EQ(zero, text.find_first_not_of("0.") == std::string::npos) << text;
    return text;
}

std::string by_printf(double v, int d) {
    char buf[kFixedDecimalMax + 8];
    std::snprintf(buf, sizeof buf, "%.*f", d, std::fabs(v));
    return buf;
}

std::string by_to_chars(double v, int d) {
    char buf[kFixedDecimalMax];
    const char* end = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::fixed, d).ptr;
    return std::string(static_cast<const char*>(buf), end);
}

// Both references agree with the text, for d and its neighbours' decimal counts.
void expect_both(double v, int d) {
    const std::string text = ours(v, d);
    ASSERT_EQ(text, by_printf(v, d)) << std::hexfloat << v << " d=" << d;
    ASSERT_EQ(text, by_to_chars(v, d)) << std::hexfloat << v << " d=" << d;
}

// Decimal counts the listing uses most (1 and 3), every other up to 21 (the
// exact path ends at 19), and a few far beyond.
int some_decimals(Bits& bits) {
    const int pick = bits.below(10);
    if (pick < 3) return 3;
    if (pick < 5) return 1;
    if (pick == 9) return 22 + bits.below(78);
    return bits.below(22);
}

// Any bit pattern: every exponent, subnormals, both signs.
TEST(FixedDecimal, AnyFiniteDoubleAgreesWithPrintfAndToChars) {
    Bits bits(1);
    for (long k = 0; k < cases(); ++k) {
        const double v = from_bits(bits.next());
        if (!std::isfinite(v)) continue;
        // Huge values print hundreds of digits: fewer decimals keep the test quick.
        expect_both(v, std::fabs(v) > 1e30 ? bits.below(4) : some_decimals(bits));
    }
}

// Values of the size the listing prints: below 10^6 in magnitude, with few
// significant bits (short binary fractions) or full ones.
TEST(FixedDecimal, ListingSizedValuesAgree) {
    Bits bits(2);
    for (long k = 0; k < cases(); ++k) {
        const double scale = std::ldexp(1.0, bits.below(40) - 20);
        double v = static_cast<double>(bits.next() >> 11) / 9007199254740992.0 * scale;
        if (bits.below(2) == 0) v = std::ldexp(std::round(std::ldexp(v, 12)), -12);  // few bits
        if (bits.below(2) == 0) v = -v;
        expect_both(v, some_decimals(bits));
    }
}

// Exact ties: odd multiples of 2^-(d+1) lie halfway between two d-decimal
// numbers; one unit in the last place either side does not.
TEST(FixedDecimal, ExactTiesGoToEvenAndTheirNeighboursDoNot) {
    Bits bits(3);
    for (long k = 0; k < cases(); ++k) {
        const int d = bits.below(20);
        const int significant = 1 + bits.below(52);
        const double odd = static_cast<double>((bits.next() >> (64 - significant)) | 1);
        const double tie = std::ldexp(odd, -(d + 1));
        ASSERT_EQ(std::fmod(tie * std::pow(2.0, d + 1), 2.0), 1.0);
        expect_both(tie, d);
        expect_both(std::nextafter(tie, 0.0), d);
        expect_both(std::nextafter(tie, 1e300), d);
    }
    // Small cases by hand, read independently of both references.
    EXPECT_EQ(ours(0.0625, 3), "0.062");
    EXPECT_EQ(ours(0.1875, 3), "0.188");
    EXPECT_EQ(ours(2.5, 0), "2");
    EXPECT_EQ(ours(3.5, 0), "4");
    EXPECT_EQ(ours(0.25, 1), "0.2");
    EXPECT_EQ(ours(0.75, 1), "0.8");
}

// Decimal halfway points as doubles (never exact for d >= 1), near each
// other's rounding; carries into a new digit (9.9996 at 3 decimals).
TEST(FixedDecimal, NearDecimalHalvesAndCarriesAgree) {
    Bits bits(4);
    for (long k = 0; k < cases(); ++k) {
        const int d = bits.below(8);
        const double n = static_cast<double>(bits.next() % 2000000);
        double v = (n + 0.5) / std::pow(10.0, d);
        for (int step = bits.below(4); step > 0; --step) v = std::nextafter(v, bits.below(2) ? 0.0 : 1e300);
        expect_both(v, d);
    }
    for (int d = 0; d <= 19; ++d) {
        for (double nines = 9; nines < 1e17; nines = nines * 10 + 9) expect_both(nines / std::pow(10.0, d), d);
    }
}

// The limits of the exact path: 2^52 and 2^53 (integers from there on), a
// rounded result just below and above 2^64, the smallest values.
TEST(FixedDecimal, EdgesOfTheExactPathAgree) {
    const double denorm = std::numeric_limits<double>::denorm_min();
    const double edges[] = {0.0,
                            -0.0,
                            denorm,
                            std::numeric_limits<double>::min(),
                            std::ldexp(1.0, 52),
                            std::nextafter(std::ldexp(1.0, 52), 0.0),
                            std::ldexp(1.0, 53) + 2,
                            std::ldexp(1.0, 64),
                            std::numeric_limits<double>::max(),
                            0.5,
                            1.5,
                            999.9995,
                            -999.9994};
    for (const double v : edges) {
        for (int d = 0; d <= 25; ++d) expect_both(v, d);
        expect_both(v, 99);
    }
    for (int d = 0; d <= 19; ++d) {
        const double limit = 18446744073709551616.0 / std::pow(10.0, d);  // 2^64 / 10^d
        double v = limit;
        for (int step = 0; step < 64; ++step) v = std::nextafter(v, 0.0);
        for (int step = 0; step < 128; ++step, v = std::nextafter(v, 1e300)) expect_both(v, d);
    }
}

// A whole field of the reference text: sign, the zero before the point
// dropped when one short, asterisks when too long.
std::string field_by_printf(int w, int d, double v) {
    std::string s = by_printf(v, d) + (d == 0 ? "." : "");
    const bool zero = s.find_first_not_of("0.") == std::string::npos;
    const bool negative = std::signbit(v) && !zero;
    if (static_cast<int>(s.size()) + negative > w && s.rfind("0.", 0) == 0 && d > 0) s.erase(0, 1);
    if (negative) s = "-" + s;
    return static_cast<int>(s.size()) > w ? std::string(static_cast<std::size_t>(w), '*')
                                          : std::string(static_cast<std::size_t>(w) - s.size(), ' ') + s;
}

// A value of one of the families above, with a decimal count for it.
double any_value(Bits& bits, int& d) {
    switch (bits.below(4)) {
        case 0: {  // listing-sized
            d = bits.below(8);
            return (static_cast<double>(bits.next() >> 11) / 9007199254740992.0 - 0.5) *
                   std::pow(10.0, bits.below(10) - 4);
        }
        case 1: {  // an exact tie at d decimals
            d = bits.below(20);
            return std::ldexp(static_cast<double>((bits.next() >> 40) | 1), -(d + 1)) * (bits.below(2) ? 1 : -1);
        }
        case 2: {  // near 2^64 / 10^d, where the exact path ends
            d = bits.below(20);
            return std::nextafter(18446744073709551616.0 / std::pow(10.0, d), bits.below(2) ? 0.0 : 1e300);
        }
        default: {  // any bit pattern
            const double v = from_bits(bits.next());
            if (!std::isfinite(v)) return 0.0;
            d = std::fabs(v) > 1e30 ? bits.below(4) : some_decimals(bits);
            return v;
        }
    }
}

TEST(FixedDecimal, RealFieldsOfEveryWidthAgreeWithPrintf) {
    Bits bits(5);
    for (long k = 0; k < cases(); ++k) {
        int d = 0;
        const double v = any_value(bits, d);
        const int w = 1 + bits.below(30);
        std::string field(static_cast<std::size_t>(w), '?');
        format_real(field.data(), w, d, v);
        ASSERT_EQ(field, field_by_printf(w, d, v)) << std::hexfloat << v << " F" << w << "." << d;
    }
}

}  // namespace
}  // namespace marvist
