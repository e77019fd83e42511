// CSV fields read back with a strict RFC 4180 reader: text of every kind,
// reals to the bit, integers, missing values.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "export/csv_text.h"
#include "base/cp437.h"
#include "stats/random_stream.h"
#include "support/csv_reader.h"

namespace marvist {
namespace {

using Records = std::vector<std::vector<std::string>>;

TEST(CsvText, TextOfEveryKindReadsBack) {
    const std::vector<std::string> texts = {
        "plain", "", "a,b", "say \"hi\"", "\"", "\"\"", "line\nbreak", "cr\rlf\r\n", " padded ", ",",
        cp437_to_utf8("A,\"\xC4\xB3\xDA\""),  // a comma, a quote and box characters
        "caf\xC3\xA9 \xE2\x94\x80"};
    std::string text;
    for (std::size_t k = 0; k < texts.size(); ++k) {
        if (k > 0) text += kCsvSeparator;
        append_csv_text(text, texts[k]);
    }
    text += kCsvRecordEnd;
    const Records records = test::read_csv(text);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0], texts);
    EXPECT_EQ(texts[10], "A,\"\xE2\x94\x80\xE2\x94\x82\xE2\x94\x8C\"");  // ─ │ ┌
}

double read_real(const std::string& field) {
    double value = 0.0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (ec != std::errc() || end != field.data() + field.size()) throw std::runtime_error("not a real: " + field);
    return value;
}

TEST(CsvText, RealsReadBackToTheSameDouble) {
    std::vector<double> values = {0.0, -0.0, 0.1, 1.0 / 3.0, -2.5, 1e-310, DBL_MIN, DBL_MAX, 5e-324, 123456789012345678.0,
                                  0.30000000000000004, 1e21, 1e-7};
    RandomStream stream(4);
    while (values.size() < 20000) {
        const double v = std::bit_cast<double>(stream.next());
        if (std::isfinite(v)) values.push_back(v);
    }
    std::string text;
    for (const double v : values) {
        append_csv_real(text, v);
        text += kCsvRecordEnd;
        std::string field;
        append_csv_real(field, v);
        EXPECT_EQ(field.find(','), std::string::npos);
        EXPECT_LE(field.size(), 24u);
    }
    const Records records = test::read_csv(text);
    ASSERT_EQ(records.size(), values.size());
    for (std::size_t k = 0; k < values.size(); ++k)
        EXPECT_EQ(std::bit_cast<std::uint64_t>(read_real(records[k][0])), std::bit_cast<std::uint64_t>(values[k]))
            << records[k][0];
    EXPECT_EQ(records[2][0], "0.1");
    EXPECT_EQ(records[3][0], "0.3333333333333333");
}

TEST(CsvText, IntegersMissingValuesAndFlags) {
    std::string text;
    append_csv_integer(text, std::numeric_limits<std::int64_t>::min());
    text += kCsvSeparator;
    append_csv_integer(text, 3000000000);
    text += kCsvSeparator;
    append_csv_real(text, std::numeric_limits<double>::quiet_NaN());  // a value that does not exist
    text += kCsvSeparator;
    append_csv_real(text, -std::numeric_limits<double>::infinity());
    text += kCsvSeparator;
    append_csv_boolean(text, true);
    text += kCsvSeparator;
    append_csv_boolean(text, false);
    text += kCsvRecordEnd;
    EXPECT_EQ(text, "-9223372036854775808,3000000000,,-INF,TRUE,FALSE\r\n");
}

TEST(CsvReader, RefusesWhatTheRfcDoesNotAllow) {
    for (const char* bad : {"a\"b\r\n", "\"a\"b\r\n", "\"open\r\n", "a\nb\r\n", "a\rb\r\n", "a,b", "a,b\r\nc\r\n", "a,\"b\""}) {
        EXPECT_THROW(test::read_csv(bad), std::runtime_error) << bad;
    }
    EXPECT_EQ(test::read_csv("a,\"b\r\n\"\"c\",\r\n"), (Records{{"a", "b\r\n\"c", ""}}));
}

}  // namespace
}  // namespace marvist
