#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <stdexcept>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "base/layout.h"
#include "base/number_format.h"
#include "base/record_io.h"

namespace marvist {
namespace {

using Lines = std::vector<std::string>;

Lines lines_of(std::string_view layout, std::initializer_list<Value> values = {}) {
    CapturedRecords out;
    write_records(out, layout, values);
    return out.lines;
}

std::string one_line(std::string_view layout, std::initializer_list<Value> values = {}) {
    const Lines lines = lines_of(layout, values);
    EXPECT_EQ(lines.size(), 1u) << layout;
    return lines.empty() ? std::string() : lines.front();
}

std::string real_field(int w, int d, double v) {
    std::string s(static_cast<std::size_t>(w), '?');
    format_real(s.data(), w, d, v);
    return s;
}

TEST(NumberFields, IntegersDigitsAndOverflow) {
    EXPECT_EQ(one_line("(I6,I6,I3,I3,I3)", {42, -42, 999, -99, 1000}), "    42   -42999-99***");
    EXPECT_EQ(one_line("(I2.2,I4.4,I5.3,I3.3,I4.0,I4)", {5, 98, -7, -7, 0, 0}), "050098 -007***       0");
    EXPECT_EQ(one_line("(I20,1X,I19)", {INT64_MIN, INT64_MIN}), "-9223372036854775808 " + std::string(19, '*'));
}

// F fields agree with printf's rounding, plus the sign and width rules: no
// sign on a value that rounds to zero, the zero before the point dropped
// when the field is one short, asterisks when the value does not fit.
TEST(NumberFields, RealsAgreeWithPrintf) {
    std::uint64_t state = 12345;
    auto next = [&state] { return state = state * 6364136223846793005ULL + 1442695040888963407ULL; };
    for (int k = 0; k < 20000; ++k) {
        const double scale = std::pow(10.0, static_cast<int>(next() % 9) - 4);
        const double v = (static_cast<double>(next() >> 11) / 9007199254740992.0 - 0.5) * scale;
        const int d = static_cast<int>(next() % 6);
        const auto w = static_cast<std::size_t>(1 + next() % 12);
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.*f", d, v);
        std::string s = std::string(buf) + (d == 0 ? "." : "");
        if (s.find_first_not_of("-0.") == std::string::npos && s[0] == '-') s.erase(0, 1);
        const bool neg = s[0] == '-';
        std::string body = s.substr(neg ? 1 : 0);
        if (body.size() + neg > w && body.rfind("0.", 0) == 0 && d > 0) body.erase(0, 1);
        std::string want = (neg ? "-" : "") + body;
        want = want.size() > w ? std::string(w, '*') : std::string(w - want.size(), ' ') + want;
        ASSERT_EQ(real_field(static_cast<int>(w), d, v), want) << v << " F" << w << "." << d;
    }
}

// What random values do not reach: exact binary ties (to even), a negative
// zero, a carry that widens the value, huge values and the special values.
TEST(NumberFields, RealTiesCarriesAndSpecialValues) {
    EXPECT_EQ(real_field(5, 0, 2.5) + real_field(5, 0, 3.5), "   2.   4.");
    EXPECT_EQ(real_field(7, 3, 0.0625) + real_field(7, 3, 0.1875), "  0.062  0.188");
    EXPECT_EQ(real_field(7, 3, -0.0), "  0.000");
    EXPECT_EQ(real_field(7, 3, 999.9994) + real_field(7, 3, 999.9996), "999.999*******");
    EXPECT_EQ(real_field(12, 4, 1e300), std::string(12, '*'));
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(real_field(7, 3, std::nan("")) + real_field(2, 1, std::nan("")), "    NaN**");
    EXPECT_EQ(real_field(7, 3, -inf) + real_field(8, 3, inf) + real_field(9, 3, -inf), "   -InfInfinity-Infinity");
    EXPECT_EQ(real_field(3, 1, -inf), "***");
}

TEST(WriteRecords, LiteralsTextAndNotation) {
    EXPECT_EQ(one_line("('It''s',3X,'x',X)"), "It's   x ");
    EXPECT_EQ(one_line(" (' Succesful End of Marvist') and more"), " Succesful End of Marvist");
    EXPECT_EQ(one_line("(1 0I 3)", {1, 2, 3}), "  1  2  3");
    EXPECT_EQ(one_line("(3i2 f5.1 a)", {1, 2, 3, 2.25, "x"}), " 1 2 3  2.2x");
    EXPECT_EQ(one_line("(A6,A12,A)", {"ABCDEFGHIJKL", "rowA  ", "ab "}), "ABCDEF      rowA  ab ");
    // Text values are code-page-437 bytes already: taken byte for byte.
    EXPECT_EQ(one_line("(A3)", {"\xE2\x94\x80"}), "\xE2\x94\x80");
}

// Reversion resumes at the last top-level group, with its repeat count, on a new record.
TEST(WriteRecords, ReversionStartsNewRecords) {
    EXPECT_EQ(lines_of("('head',2(' ',I1),'|')", {1, 2, 3, 4, 5}), (Lines{"head 1 2|", " 3 4|", " 5"}));
    EXPECT_EQ(lines_of("(I2,1X,2(I1),' end')", {10, 1, 2, 3}), (Lines{"10 12 end", "3"}));
    EXPECT_EQ(lines_of("(' ',2F4.1)", {0.1, 0.2, 0.3}), (Lines{"  0.1 0.2", "  0.3"}));
}

TEST(WriteRecords, RunningOutOfValuesColonDollarSlash) {
    EXPECT_EQ(one_line("(7X,I4,2X,F7.3,1X,F7.3,:,2X,A1)", {12, 0.5, -0.25}), "         12    0.500  -0.250");
    EXPECT_EQ(one_line("(' a=',I2,' b=',I2,' c')", {1}), " a= 1 b=");
    // A data group is not begun once the values have run out; others are written in full.
    EXPECT_EQ(one_line("('x',3(I2,'.'),'y')", {1}), "x 1.");
    EXPECT_EQ(one_line("('x',3(I2,'.'),'y',2('-'))", {1, 2, 3}), "x 1. 2. 3.y--");
    EXPECT_EQ(lines_of("('a',/,'b',2/'c')"), (Lines{"a", "b", "", "c"}));

    CapturedRecords out;
    write_records(out, "(' Value: ',$)");
    write_records(out, "(I3)", {42});
    write_records(out, "(' next')");
    EXPECT_EQ(out.lines, (Lines{" Value:  42", " next"}));
}

TEST(WriteRecords, ProgrammingErrorsThrow) {
    CapturedRecords out;
    EXPECT_THROW(write_records(out, "(' text only')", {1}), std::logic_error);
    EXPECT_THROW(write_records(out, "(I3,2('x'))", {1, 2}), std::logic_error);
    EXPECT_TRUE(out.lines.empty());  // refused before anything is written
    EXPECT_THROW(write_records(out, "(F7.3)", {1}), std::logic_error);  // a value of another kind
}

TEST(LayoutParse, RejectsTextOutsideTheNotation) {
    const char* bad[] = {"",         "I3",       "(I0)",     "(F0.2)",    "(0X)",      "(0(I2))",  "(F5)",
                         "(T5,I3)",  "(E10.3)",  "(G10.3)",  "(L2)",      "(1P,F5.2)", "(3HABC)",  "(\"ab\")",
                         "(I3",      "('abc)",   "(I3,,I4)", "(,I3)",     "(I2.3)",    "(F5.100)", "(I3,$,I2)",
                         "(2(I3,$))", "(3'ab')", "(I123456789)"};
    for (const char* text : bad) EXPECT_THROW(Layout::parse(text), LayoutError) << text;
    EXPECT_THROW(Layout::parse(std::string(70, '(') + std::string(70, ')')), LayoutError);

    EXPECT_TRUE(Layout::parse("(2(1X,A6))").has_data_descriptor());
    EXPECT_FALSE(Layout::parse("(' ',78('═'),/,5X)").has_data_descriptor());
    const std::string text = "(' cached ',I3)";
    EXPECT_EQ(&cached_layout(text).tree(), &cached_layout(std::string_view(text)).tree());
}

// The cache looks layouts up by where their text lies: a buffer that held
// one layout and now holds another, of the same length or not, gets the
// new one, here and on another thread.
TEST(CachedLayout, ABufferRewrittenWithAnotherLayoutIsReadAnew) {
    char buffer[16] = "(I3)";
    auto in_buffer = [&buffer] { return std::string_view(buffer); };
    EXPECT_EQ(one_line(in_buffer(), {5}), "  5");
    std::memcpy(buffer, "(I5)", 5);
    EXPECT_EQ(one_line(in_buffer(), {5}), "    5");
    std::memcpy(buffer, "(1X,I2)", 8);
    EXPECT_EQ(one_line(in_buffer(), {5}), "  5");
    EXPECT_EQ(&cached_layout(in_buffer()), &cached_layout(std::string("(1X,I2)")));
    std::string on_thread;
    std::thread([&] {
        std::memcpy(buffer, "(I4)", 5);
        on_thread = write_to_buffer(in_buffer(), {7}, 4);
    }).join();
    EXPECT_EQ(on_thread, "   7");
    EXPECT_EQ(one_line(in_buffer(), {5}), "   5");
}

TEST(WriteToBufferAndFreeForm, FirstRecordPaddedOrCut) {
    EXPECT_EQ(write_to_buffer("('Lab_',I2)", {12}, 10), "Lab_12    ");
    EXPECT_EQ(write_to_buffer("('abcdef')", {}, 3), "abc");
    EXPECT_EQ(write_to_buffer("(I3)", {1, 2, 3}, 4), "  1 ");
    EXPECT_EQ(free_form_record({"NAME", 12, "A", "B"}), " NAME 12AB");
    EXPECT_EQ(free_form_record({}), " ");
}

}  // namespace
}  // namespace marvist
