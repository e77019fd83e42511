// Checking the sizes, reading labels and counts. (Open and read failures and
// the number of axes are checked through whole jobs in driver_test.cpp.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/input_files.h"
#include "base/fixed_text.h"
#include "support/test_support.h"

namespace marvist {
namespace {

using Codes = std::vector<ErrorCode>;
using enum ErrorCode;
using Ints = std::vector<int>;

struct InputFiles : ::testing::Test {
    test::TempDir dir;
    test::CapturingReportSink sink;
    RunState rs;
    void SetUp() override {
        rs.reporter.sink = &sink;
        test::write_file(dir.file("t.dat"), "1 2\n");
    }
    Codes codes() const { return sink.codes; }
};

TEST_F(InputFiles, EverySizeFaultIsReportedAndTheAxesAreStillChecked) {
    rs.n_axes = 3;
    JobFiles files;
    open_job_files(1, -5, 1, -1, files, fixed(dir.file("a.out"), 80), fixed(dir.file("t.dat"), 80), "", 0, "", rs);
    EXPECT_EQ(codes(), (Codes{TooFewRows, TooFewColumns, NegativeSupplementary, TooManyAxes}));
    EXPECT_EQ(rs.n_axes, 0) << "a size below 1 must not give a negative number of axes";
}

// A listing that would be created over the data or label file (by the same
// name, or through a link) is refused before anything is emptied.
TEST_F(InputFiles, TheListingNeverReplacesAnInputFile) {
    test::write_file(dir.file("t.lab"), "a     b     \nc     d     \n");
    std::filesystem::create_symlink(dir.file("t.lab"), dir.file("link.out"));
    using Case = std::pair<std::string, int>;
    for (const auto& [listing, has_labels] : {Case{"t.dat", 0}, Case{"link.out", 1}, Case{"t.lab", 0}}) {
        sink.errors.clear();
        sink.codes.clear();
        rs.fatal_state = FatalState::None;
        JobFiles files;
        open_job_files(2, 2, 0, 0, files, fixed(dir.file(listing), 80), fixed(dir.file("t.dat"), 80),
                       fixed(dir.file("t.lab"), 80), has_labels, "", rs);
        EXPECT_EQ(codes(), has_labels == 0 && listing == "t.lab" ? Codes{} : Codes{ListingOpen}) << listing;
    }
    EXPECT_EQ(test::read_file(dir.file("t.dat")), "1 2\n");
    EXPECT_EQ(test::read_file(dir.file("t.lab")), "");  // named as the listing of a job without labels
}

TEST_F(InputFiles, LabelsAreReadThirteenToALineRowLabelsFirst) {
    std::string text;
    for (char c = 'a'; c <= 'm'; ++c) text += fixed(std::string(3, c), 6);
    text += "\nr14   r 15\nc1    c2    c3    c4    \n";  // 15 row labels, the last line short; 4 column labels
    test::write_file(dir.file("l.lab"), text);
    InputFile labels;
    ASSERT_TRUE(labels.open(dir.file("l.lab")));
    std::vector<std::string> rows(15, "      "), cols(15, "      ");
    read_labels(rows, cols, 15, 4, labels, rs);
    EXPECT_EQ(rs.fatal_state, FatalState::None);
    EXPECT_EQ((std::vector<std::string>{rows[12], rows[14], cols[0], cols[3], cols[4]}),
              (std::vector<std::string>{"mmm   ", "r 15  ", "c1    ", "c4    ", "      "}));
    EXPECT_FALSE(labels.is_open());
}

// Data formats that are no layout and counts out of range. (Label and data
// files that end early or cannot be read fail whole jobs in driver_test.cpp.)
TEST_F(InputFiles, ReadFailuresAndTheRangeOfACount) {
    const struct {
        std::string format, text;
        int supp;
        Codes codes;
    } cases[] = {
        {" *", "1 2\n3 4\n", 0, {DataRead}},               // a leading blank makes it a layout, and not a valid one
        {"(2I3", "1 2\n3 4\n", 0, {DataRead}},             // unbalanced
        {"*", "1 2\n3 2147483648\n", 0, {DataRead}},       // does not fit a 32-bit count
        {"*", "1 -1\n3 4\n", 0, {DataRead}},               // negative count
        {"*", "1 2 0\n3 4 -7\n", 1, {DataRead}},           // negative supplementary count
        {"*", "2147483647 0 0\n0 1 2147483647\n", 1, {}},  // the largest counts are accepted
    };
    for (const auto& c : cases) {
        sink.errors.clear();
        sink.codes.clear();
        rs.fatal_state = FatalState::None;
        Matrix<std::int32_t> counts(2, 2), supp(2, 1);
        TextSource source(c.text);
        read_table(source, fixed(c.format, 70), 2, 2, c.supp, 0, counts, supp, rs);
        EXPECT_EQ(codes(), c.codes) << c.format << " | " << c.text;
        EXPECT_EQ(rs.fatal_state, c.codes.empty() ? FatalState::None : FatalState::Fatal) << c.format << " | " << c.text;
        if (c.codes.empty()) {
            EXPECT_EQ((Ints{counts(1, 1), supp(2, 1)}), (Ints{2147483647, 2147483647}));
        }
    }
}

// A count out of range is an input error as soon as it is read, whatever
// the rest of the read would have met: here the end of the file.
TEST_F(InputFiles, ACountOutOfRangeIsReportedWhenItIsRead) {
    const struct {
        std::string format, text;
    } cases[] = {
        {"*", "1 2 3\n4 99999999999\n"},
        {"*", "1 2 3\n4 -1\n"},
        {"*", "1 2 3\n4 9223372036854775808\n"},  // beyond 64 bits
        {"*", "1 2 3\n2*2147483648\n"},
        {"(2I12)", "           1           2\n           3\n           4 99999999999\n"},
    };
    for (const auto& c : cases) {
        sink.codes.clear();
        rs.fatal_state = FatalState::None;
        Matrix<std::int32_t> counts(2, 3), supp(2, 1);
        TextSource source(c.text);
        read_table(source, fixed(c.format, 70), 2, 3, 0, 0, counts, supp, rs);
        EXPECT_EQ(codes(), Codes{DataRead}) << c.format << " | " << c.text;
    }
}

// What each read leaves unread is 0 in the table, never a value of the
// row before; and a layout's slash after the last value of a row takes its
// record.
TEST_F(InputFiles, EachRowStartsFromZeroAndEndsWhereItsLayoutEnds) {
    Matrix<std::int32_t> counts(3, 3), supp(3, 1);
    TextSource free_text("1 2 3\n4 /\n5 6 7\n");
    read_table(free_text, fixed("*", 70), 3, 3, 0, 0, counts, supp, rs);
    EXPECT_EQ((Ints{counts(2, 1), counts(2, 2), counts(2, 3), counts(3, 1)}), (Ints{4, 0, 0, 5}));

    // Columns dependent: the rows of the file become columns.
    TextSource transposed("1 2 3\n4 /\n5 6 7\n");
    read_table(transposed, fixed("*", 70), 3, 3, 0, 1, counts, supp, rs);
    EXPECT_EQ((Ints{counts(1, 2), counts(2, 2), counts(3, 2), counts(1, 3)}), (Ints{4, 0, 0, 5}));

    Matrix<std::int32_t> table(2, 2), none(2, 1);
    TextSource with_slash("  1  2\n\n  3  4\n\n");
    read_table(with_slash, fixed("(2I3/)", 70), 2, 2, 0, 0, table, none, rs);
    EXPECT_EQ(codes(), Codes{});
    EXPECT_EQ((Ints{table(1, 1), table(1, 2), table(2, 1), table(2, 2)}), (Ints{1, 2, 3, 4}));
}

}  // namespace
}  // namespace marvist
