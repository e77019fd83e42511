// Tau both ways, Pearson's chi-square and the analysis of variance.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "base/record_io.h"
#include "stats/dependence.h"
#include "support/test_support.h"

namespace marvist {
namespace {

using Lines = std::vector<std::string>;

struct Dependence : ::testing::Test {
    CapturedRecords listing, console;
    test::CapturingReportSink sink;
    RunState rs;
    Matrix<double> freq, row_profiles, col_profiles, work_matrix;
    Vector<double> row_margins, col_margins, work_rows, work_cols;

    // Prepares the inputs as the driver does, then runs the analysis.
    void run(int I, int J, const std::vector<std::int64_t>& by_rows) {
        rs.reports = &sink;
        rs.standard_output = &console;
        freq = row_profiles = col_profiles = work_matrix = Matrix<double>(I, J);
        row_margins = work_rows = Vector<double>(I);
        col_margins = work_cols = Vector<double>(J);
        std::int64_t n = 0;
        for (int i = 1; i <= I; ++i)
            for (int j = 1; j <= J; ++j) {
                freq(i, j) = static_cast<double>(by_rows[static_cast<std::size_t>((i - 1) * J + j - 1)]);
                n += by_rows[static_cast<std::size_t>((i - 1) * J + j - 1)];
                row_margins(i) += freq(i, j);
                col_margins(j) += freq(i, j);
            }
        for (int i = 1; i <= I; ++i)
            for (int j = 1; j <= J; ++j) {
                row_profiles(i, j) = freq(i, j) / row_margins(i);
                col_profiles(i, j) = freq(i, j) / col_margins(j);
            }
        for (double& r : row_margins) r /= static_cast<double>(n);
        for (double& c : col_margins) c /= static_cast<double>(n);
        const Lines blank(static_cast<std::size_t>(std::max(I, J)), std::string(6, ' '));
        compute_dependence(freq, work_matrix, row_profiles, col_profiles, row_margins, col_margins, blank, blank, I, J,
                           n, work_rows, work_cols, listing, rs);
    }
};

// The console gets a copy of the result blocks: the listing without the
// centred profiles and the two contribution vectors (the listing itself is in
// the golden listings).
TEST_F(Dependence, ResultBlocksAreCopiedToTheConsole) {
    run(2, 2, {10, 20, 30, 40});
    const Lines& l = listing.lines;
    ASSERT_EQ(l.size(), 8u + 3u + 12u + 19u);
    Lines copied(l.begin() + 8, l.begin() + 11);
    copied.insert(copied.end(), l.begin() + 23, l.end());
    EXPECT_EQ(console.lines, copied);
    EXPECT_EQ(rs.fatal_state, kFatalNone);
    EXPECT_TRUE(sink.errors.empty());
}

TEST_F(Dependence, TauZeroWarnsAfterTheListingAndSkipsTheDecomposition) {
    run(2, 3, {1, 2, 3, 2, 4, 6});  // every column has the profile (1/3, 2/3)
    EXPECT_EQ(listing.lines.at(3 + 5 + 3 + 5), "   0.000  0.000  0.000");
    EXPECT_EQ(listing.lines.at(3 + 5 + 3 + 6 + 5), "   0.000  0.000");
    EXPECT_EQ(listing.lines.at(listing.lines.size() - 2), " Tau = MS(Between)/MS(Total)");
    EXPECT_EQ(rs.fatal_state, kFatalSkipNsca);
    ASSERT_EQ(sink.errors.size(), 5u);
    EXPECT_EQ(sink.errors[2], " Tau is 0, thus rows and columns are perfectly independent.");
    for (double w : work_cols) EXPECT_EQ(w, 0.0);
}

}  // namespace
}  // namespace marvist
