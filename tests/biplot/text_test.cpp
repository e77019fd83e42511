// Numbers and text for pictures: fixed decimals whatever the locale, UTF-8
// read safely, text widths and cutting.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "biplot/axis_ticks.h"
#include "biplot/fixed_number.h"
#include "biplot/text_metrics.h"
#include "biplot/utf8.h"

namespace marvist {
namespace {

TEST(FixedNumber, DecimalsSignsAndSpecialValues) {
    EXPECT_EQ(fixed_number(0.0, 2), "0.00");
    EXPECT_EQ(fixed_number(-0.0, 1), "0.0");
    EXPECT_EQ(fixed_number(-0.004, 2), "0.00");
    EXPECT_EQ(fixed_number(-0.006, 2), "-0.01");
    EXPECT_EQ(fixed_number(12.345, 0), "12");
    EXPECT_EQ(fixed_number(-1234567.891, 2), "-1234567.89");
    EXPECT_EQ(fixed_number(1e300, 1).size(), 303u);
    EXPECT_EQ(fixed_number(std::nan(""), 2), "nan");
    EXPECT_EQ(fixed_number(-HUGE_VAL, 2), "-inf");
}

TEST(Utf8, WellFormedSequencesAndEveryKindOfBadByte) {
    const auto decode = [](std::string_view text) {
        std::u32string out;
        for (std::size_t i = 0; i < text.size();) out += static_cast<char32_t>(next_code_point(text, i));
        return out;
    };
    EXPECT_EQ(decode("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), U"a\u00e9\u20ac\U0001F600");
    // A lone continuation byte, an overlong form, a surrogate, a sequence
    // cut short and a byte beyond U+10FFFF: one U+FFFD per bad byte.
    EXPECT_EQ(decode("\x80"), U"\uFFFD");
    EXPECT_EQ(decode("\xC0\xAF"), U"\uFFFD\uFFFD");
    EXPECT_EQ(decode("\xED\xA0\x80"), U"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(decode("\xE2\x82"), U"\uFFFD\uFFFD");
    EXPECT_EQ(decode("\xF5\x80\x80\x80"), U"\uFFFD\uFFFD\uFFFD\uFFFD");
    std::string back;
    for (char32_t c : std::u32string(U"a\u00e9\u20ac\U0001F600")) append_utf8(back, c);
    EXPECT_EQ(back, "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
}

TEST(TextMetrics, WidthsGrowWithTextAndSizeAndCutTextFits) {
    EXPECT_EQ(text_width("", 8.0), 0.0);
    EXPECT_DOUBLE_EQ(text_width("MM", 10.0), 2.0 * text_width("M", 10.0));
    EXPECT_DOUBLE_EQ(text_width("Prof", 16.0), 2.0 * text_width("Prof", 8.0));
    EXPECT_GT(text_width("W", 10.0), text_width("i", 10.0));
    EXPECT_GT(text_width("\u4e2d", 10.0), text_width("\u00e9", 10.0));
    EXPECT_GT(text_height(8.0), text_ascent(8.0));

    EXPECT_EQ(fit_text("short", 8.0, 100.0), "short");
    const std::string cut = fit_text("\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9", 8.0, 30.0);
    EXPECT_LE(text_width(cut, 8.0), 30.0);
    EXPECT_EQ(cut.substr(cut.size() - 3), "\u2026");
    EXPECT_EQ(cut.size() % 2, 1u);  // whole two-byte characters before the three-byte ellipsis
}

TEST(AxisTicks, RoundStepsAndTheirMultiples) {
    EXPECT_DOUBLE_EQ(round_step(0.13).step, 0.2);
    EXPECT_EQ(round_step(0.13).decimals, 1);
    EXPECT_DOUBLE_EQ(round_step(0.1).step, 0.1);
    EXPECT_DOUBLE_EQ(round_step(0.51).step, 1.0);
    EXPECT_EQ(round_step(0.51).decimals, 0);
    EXPECT_DOUBLE_EQ(round_step(3.0).step, 5.0);
    EXPECT_DOUBLE_EQ(round_step(0.0004).step, 0.0005);
    EXPECT_EQ(round_step(0.0004).decimals, 4);
    EXPECT_DOUBLE_EQ(round_step(700.0).step, 1000.0);
    EXPECT_DOUBLE_EQ(round_step(0.0).step, 1.0);

    const auto ticks = tick_values(-0.45, 0.61, 0.2);
    ASSERT_EQ(ticks.size(), 6u);
    EXPECT_DOUBLE_EQ(ticks.front(), -0.4);
    EXPECT_DOUBLE_EQ(ticks.back(), 0.6);
    EXPECT_TRUE(tick_values(0.0, 1.0, 1e-9).empty());
}

}  // namespace
}  // namespace marvist
