// Homogenisation of the margins by iterative proportional fitting.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "base/record_io.h"
#include "base/storage.h"
#include "stats/homogenise.h"
#include "support/test_support.h"

namespace marvist {
namespace {

using Lines = std::vector<std::string>;

struct Homogenise : ::testing::Test {
    CapturedRecords listing, console;
    test::CapturingReportSink sink;
    RunState rs;
    void run(int I, int J, const std::vector<std::int32_t>& by_rows) {
        rs.reports = &sink;
        rs.standard_output = &console;
        Matrix<std::int32_t> counts(I, J);
        for (int i = 1; i <= I; ++i)
            for (int j = 1; j <= J; ++j) counts(i, j) = by_rows[static_cast<std::size_t>((i - 1) * J + j - 1)];
        const Lines blank(static_cast<std::size_t>(std::max(I, J)), std::string(6, ' '));
        homogenise_margins(counts, I, J, blank, blank, listing, rs);
    }
    Lines tail(std::size_t n) const { return Lines(listing.lines.end() - static_cast<long>(n), listing.lines.end()); }
};

TEST_F(Homogenise, HomogeneousTableIsReachedInTwoStepsUnchanged) {
    run(3, 2, {10, 0, 0, 10, 5, 5});
    EXPECT_EQ(listing.lines.at(6), " Iteration for homogenising the margins has converged in   2 steps");
    EXPECT_EQ(Lines(listing.lines.begin() + 14, listing.lines.begin() + 17),
              (Lines{"  1  1        \xB3     10      0", "  2  2        \xB3      0     10",
                     "  3  3        \xB3      5      5"}));
}

// The console gets the banner, a line per iteration (each overprinting the
// one before) and the outcome.
TEST_F(Homogenise, ZeroCellStopsAtTheIterationLimit) {
    run(2, 2, {1, 0, 1, 1});
    const Lines limit{"", " Maximum number of iterations ( 201) reached", ""};
    EXPECT_EQ(Lines(listing.lines.begin() + 5, listing.lines.begin() + 8), limit);
    ASSERT_EQ(console.lines.size(), 5u + 201u + 3u);
    EXPECT_EQ(Lines(console.lines.begin(), console.lines.begin() + 5), Lines(listing.lines.begin(), listing.lines.begin() + 5));
    EXPECT_EQ(console.lines[5], " Iteration    1");
    EXPECT_EQ(console.lines[205], "+Iteration  201");
    EXPECT_EQ(Lines(console.lines.end() - 3, console.lines.end()), limit);
    EXPECT_EQ(listing.lines.at(14).substr(listing.lines[14].size() - 7), "      0");  // the zero stays zero
}

// Targets and average are rounded half up; a row target above 32 bits
// overflows its field rather than wrapping.
TEST_F(Homogenise, TargetsAndAverage) {
    run(2, 3, {1, 2, 1, 1, 1, 1});  // N = 7: row target 3.5, column target 7/3, average 4/3
    EXPECT_EQ(tail(8), (Lines{"", " Values of row marginals        4", "", " Values of column marginals        2", "",
                              " Average value for entry in table        1",
                              " Values deviating from the average indicate presence of interaction", ""}));
    listing.lines.clear();
    run(2, 30, std::vector<std::int32_t>(60, 80000000));  // N = 4.8e9, row target 2.4e9, average 8e7
    EXPECT_EQ(tail(7)[0], " Values of row marginals ********");
    EXPECT_EQ(tail(7)[4], " Average value for entry in table 80000000");
}

TEST_F(Homogenise, MissingStorageWritesNothingAndIsFatal) {
    set_storage_limit(16);  // a 2 x 2 table of reals does not fit
    run(2, 2, {10, 20, 30, 40});
    set_storage_limit(0);
    EXPECT_TRUE(listing.lines.empty());
    EXPECT_TRUE(console.lines.empty());
    EXPECT_EQ(rs.fatal_state, kFatal);
    ASSERT_FALSE(sink.errors.empty());
    EXPECT_EQ(sink.errors.back(), "                 M E M O R Y   E R R O R S");
}

}  // namespace
}  // namespace marvist
