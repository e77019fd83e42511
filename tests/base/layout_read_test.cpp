#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/layout.h"
#include "base/record_io.h"

namespace marvist {
namespace {

using Ints = std::vector<std::int64_t>;

int read_ints(RecordSource& in, std::string_view layout, Ints& targets) {
    return read_integers(in, Layout::parse(layout), targets);
}

std::string next_of(RecordSource& in) {
    std::string r = "<none>";
    in.next_record(r);
    return r;
}

TEST(ReadIntegers, FieldsShortRecordsSkipSlashAndReversion) {
    // (10I3) into twelve targets: a short first record, then 11 and 12.
    TextSource in("  1  2                      10\n 11 12\n-12 +7 1 2\t\t3\nxx 5yy 6\n 7\n\n 8 9\n");
    Ints t(12, -9);
    EXPECT_EQ(read_ints(in, "(10I3)", t), kReadOk);
    EXPECT_EQ(t, (Ints{1, 2, 0, 0, 0, 0, 0, 0, 0, 10, 11, 12}));
    Ints u(4);
    EXPECT_EQ(read_ints(in, "(I3,I3,I3,I5)", u), kReadOk);
    EXPECT_EQ(u, (Ints{-12, 7, 1, 23}));  // " 1 " and "2\t\t3"
    Ints v(5);
    EXPECT_EQ(read_ints(in, "(2X,I2,2X,I2,/,I2,2/,2I2)", v), kReadOk);
    EXPECT_EQ(v, (Ints{5, 6, 7, 8, 9}));

    // Reversion continues at the last top-level group, on the next record;
    // the rest of the last record used is skipped.
    TextSource in2(" 1 2 3\n 4 5 6\n 7 8 9\n");
    Ints w(5);
    EXPECT_EQ(read_ints(in2, "(I2,2(I2))", w), kReadOk);
    EXPECT_EQ(w, (Ints{1, 2, 3, 4, 5}));
    EXPECT_EQ(next_of(in2), " 7 8 9");
}

// After the last value a read goes on through '/' and nX up to the next data
// item, a ':' or the end of the layout, as a Fortran READ does (each case
// was run through gfortran); the next read starts after the last record
// that those slashes reached.
TEST(ReadIntegers, SlashesAfterTheLastValueAreActedOn) {
    const struct {
        const char* layout;
        std::size_t count;
        const char* text;
        Ints values;
        std::int64_t next;  // what the next read, "(I3)", finds
    } cases[] = {
        {"(2I3/)", 2, "  1  2\n\n  3  4\n\n", {1, 2}, 3},            // the slash takes the empty line
        {"(I3,2(/))", 1, "  1\n  2\n  3\n  4\n", {1}, 4},            // a group of slashes
        {"(I3,2(I3,/))", 2, "  1  2\n  3\n  4\n", {1, 2}, 4},        // up to the data item of the next pass
        {"(I3,2(/,I3))", 1, "  1\n  2\n  3\n", {1}, 3},              // a data group is begun for its slash
        {"(I3,(I3,/))", 3, "  1  2\n  x\n  3\n  y\n  9\n", {1, 2, 3}, 9},  // after reversion
        {"(I3,:,/)", 1, "  1\n  2\n", {1}, 2},                       // the colon stops first
        {"(I3,50X,/)", 1, "  1\n\n  7\n", {1}, 7},                   // skips past the record's end
    };
    for (const auto& c : cases) {
        TextSource in(c.text);
        Ints t(c.count, -9);
        EXPECT_EQ(read_ints(in, c.layout, t), kReadOk) << c.layout;
        EXPECT_EQ(t, c.values) << c.layout;
        Ints next(1, -9);
        EXPECT_EQ(read_ints(in, "(I3)", next), kReadOk) << c.layout;
        EXPECT_EQ(next[0], c.next) << c.layout;
    }
    // A slash after the last value that finds no record is end of file; the
    // values read are kept.
    TextSource in("  1  2\n  3  4\n");
    Ints t(2, -9);
    EXPECT_EQ(read_ints(in, "(2I3)", t), kReadOk);
    EXPECT_EQ(read_ints(in, "(2I3/)", t), kReadEndOfFile);
    EXPECT_EQ(t, (Ints{3, 4}));
}

TEST(ReadIntegers, EndOfFileAndInputErrors) {
    TextSource short_file(" 1 2\n");
    Ints t(4);
    EXPECT_EQ(read_ints(short_file, "(2I2)", t), kReadEndOfFile);
    TextSource one(" 1\n");
    EXPECT_EQ(read_ints(one, "(/I3)", t), kReadEndOfFile);

    for (const char* record : {" 1.5", "  1a", "   -", " 1-2", "99999999999999999999", "  --1"}) {
        TextSource in(record);
        Ints x(1);
        EXPECT_EQ(read_ints(in, "(I20)", x), kReadInputError) << record;
    }
    TextSource limits("-9223372036854775808 9223372036854775807");
    Ints y(2);
    EXPECT_EQ(read_ints(limits, "(I20,I20)", y), kReadOk);
    EXPECT_EQ(y, (Ints{INT64_MIN, INT64_MAX}));
}

// Layouts that cannot read integers are refused before any record is used,
// so a read neither loops nor consumes the file.
TEST(ReadIntegers, LayoutsThatCannotApplyAreInputErrors) {
    for (const char* layout : {"(5X)", "(F5.2)", "(' ',I3)", "(A6)", "(I3,2(2X))", "()", "(I2,$)"}) {
        TextSource in(" 1 2 3\n");
        Ints t(3);
        EXPECT_EQ(read_ints(in, layout, t), kReadInputError) << layout;
        EXPECT_EQ(next_of(in), " 1 2 3") << layout;
    }
    TextSource in(" 1 2\n");
    Ints t(2);
    EXPECT_EQ(read_ints(in, "(2I2,2(3X))", t), kReadOk);  // one pass is enough

    // Repeats of blank skips that would take hours are given up.
    TextSource slow(" 1\n");
    EXPECT_EQ(read_ints(slow, "(99999999(99999999(9X)),I1)", t), kReadInputError);
}

// Aw takes the rightmost w characters into a shorter target and pads a
// longer one; label files as a whole are read in the analysis tests.
TEST(ReadCharacters, WidthsAndTargetLengths) {
    TextSource in("abcdefgh\nxy\n");
    std::vector<std::string> t{std::string(3, ' '), std::string(5, ' ')};
    EXPECT_EQ(read_characters(in, Layout::parse("(A5,A3)"), t), kReadOk);
    EXPECT_EQ(t, (std::vector<std::string>{"cde", "fgh  "}));
    EXPECT_EQ(read_characters(in, Layout::parse("(I3)"), t), kReadInputError);
}

}  // namespace
}  // namespace marvist
