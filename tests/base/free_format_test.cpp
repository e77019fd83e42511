#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/layout.h"
#include "base/record_io.h"

namespace marvist {
namespace {

using Ints = std::vector<std::int64_t>;

int read_free(TextSource& in, Ints& t) { return read_free_format(in, std::span<std::int64_t>(t)); }

TEST(FreeFormat, RepeatsSeparatorsAndRecords) {
    TextSource in("3*0, 5\n1,2\t3 , 4\n\n   \n5\n6 7 8\n9\n");
    Ints t(4, -1);
    EXPECT_EQ(read_free(in, t), kReadOk);
    EXPECT_EQ(t, (Ints{0, 0, 0, 5}));
    EXPECT_EQ(read_free(in, t), kReadOk);
    EXPECT_EQ(t, (Ints{1, 2, 3, 4}));
    Ints u(2);
    EXPECT_EQ(read_free(in, u), kReadOk);  // over empty records; 7 8 are skipped
    EXPECT_EQ(u, (Ints{5, 6}));
    EXPECT_EQ(read_free(in, u), kReadEndOfFile);
}

TEST(FreeFormat, NullValuesAndSlashLeaveTargetsUnchanged) {
    TextSource in("1,,3\n,2\n 2*, 7\n4 /5 6\n9 8\n/ -1\n");
    Ints t(3, 0);
    EXPECT_EQ(read_free(in, t), kReadOk);
    EXPECT_EQ(t, (Ints{1, 0, 3}));
    t = {10, 20, 30};
    EXPECT_EQ(read_free(in, t), kReadOk);  // ",2" then "2*," on the next record
    EXPECT_EQ(t, (Ints{10, 2, 30}));
    EXPECT_EQ(read_free(in, t), kReadOk);  // "4 /"
    EXPECT_EQ(t, (Ints{4, 2, 30}));
    EXPECT_EQ(read_free(in, t), kReadOk);  // the '/' on the next record ends the read
    EXPECT_EQ(t, (Ints{9, 8, 30}));
}

TEST(FreeFormat, EndOfFileAndInputErrors) {
    TextSource short_file("1 2\n");
    Ints t(3);
    EXPECT_EQ(read_free(short_file, t), kReadEndOfFile);
    // The text of an integer is checked with the layout reader, which shares its parser.
    for (const char* text : {"1e3", "0*4", "'7'", "2*x"}) {
        TextSource in(text);
        Ints x(1);
        EXPECT_EQ(read_free(in, x), kReadInputError) << text;
    }
}

TEST(FreeFormat, CharacterTargetsQuotedAndPlain) {
    TextSource in("NAME 'two words, and / slash' \"it\"\"s\" 12\n'across\nrecords' 2*ab\n");
    std::string a, b, c, x, y, z;
    std::int64_t n = 0;
    std::vector<FreeTarget> t{{nullptr, &a, 6}, {nullptr, &b, 24}, {nullptr, &c, 4}, {&n, nullptr, 0}};
    EXPECT_EQ(read_free_format(in, t), kReadOk);
    EXPECT_EQ(a, "NAME  ");
    EXPECT_EQ(b, "two words, and / slash  ");
    EXPECT_EQ(c, "it\"s");
    EXPECT_EQ(n, 12);
    std::vector<FreeTarget> u{{nullptr, &x, 9}, {nullptr, &y, 3}, {nullptr, &z, 3}};
    EXPECT_EQ(read_free_format(in, u), kReadOk);
    EXPECT_EQ(x, "acrossrec");  // continued on the next record, cut to length
    EXPECT_EQ(y, "ab ");
    EXPECT_EQ(z, "ab ");

    TextSource open_quote("'never closed\n");
    EXPECT_EQ(read_free_format(open_quote, u), kReadEndOfFile);
    TextSource glued("'ab'cd\n");
    EXPECT_EQ(read_free_format(glued, u), kReadInputError);
}

// Integer targets read plain digits in a pass of their own; every text must
// still read as through the general targets (which take no such pass): the
// same status, values and place in the records, on random texts of digits,
// signs, repeat counts, nulls, slashes, quotes, letters, values of 19 and
// more digits, over several records. Targets out of a range fail at once.
TEST(FreeFormat, IntegerTargetsReadAsGeneralTargets) {
    const char* pieces[] = {"7",  "42", "0012", "9223372036854775807", "9223372036854775808", "99999999999999999999",
                            "-5", "+6", "3*",   "2*8",                 ",",                   " ",
                            "\t", "/", "12a", "'3'",                 "\n",                  "4/",
                            "5,", "1*", "x",   "  "};
    std::uint64_t state = 7;
    const auto next = [&state] { return state = state * 6364136223846793005ULL + 1442695040888963407ULL; };
    for (int trial = 0; trial < 3000; ++trial) {
        std::string text;
        for (int p = 0, n = 1 + static_cast<int>(next() >> 60); p < n; ++p) {
            text += pieces[(next() >> 33) % (sizeof pieces / sizeof *pieces)];
            if ((next() >> 62) != 0) text += ' ';
        }
        const auto width = static_cast<std::size_t>(1 + (next() >> 62));
        TextSource in_ints(text), in_general(text);
        for (int read = 0; read < 3; ++read) {
            Ints ints(width, -1), general(width, -1);
            std::vector<FreeTarget> targets(width);
            for (std::size_t k = 0; k < width; ++k) targets[k].integer = &general[k];
            const int status = read_free_format(in_ints, std::span<std::int64_t>(ints));
            ASSERT_EQ(status, read_free_format(in_general, std::span<FreeTarget>(targets))) << text;
            if (status != kReadOk) break;
            ASSERT_EQ(ints, general) << text;
        }
    }
    TextSource in("12 7 300\n");
    Ints t(3);
    EXPECT_EQ(read_free_format(in, std::span<std::int64_t>(t), IntegerRange{0, 299}), kReadInputError);
}

}  // namespace
}  // namespace marvist
