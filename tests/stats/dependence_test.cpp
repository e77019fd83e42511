// Tau both ways, Pearson's chi-square and the analysis of variance.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "listing/cp437.h"
#include "listing/fixed_text.h"
#include "listing/record_io.h"
#include "stats/dependence.h"
#include "support/test_support.h"

namespace marvist {
namespace {

using Lines = std::vector<std::string>;

Lines as_utf8(const Lines& lines) {
    Lines out;
    for (const std::string& line : lines) out.push_back(cp437_to_utf8(line));
    return out;
}

struct Dependence : ::testing::Test {
    CapturedRecords listing, console;
    test::CapturingReportSink sink;
    RunState rs;
    Matrix<double> freq, row_profiles, col_profiles, work_matrix;
    Vector<double> row_margins, col_margins, work_rows, work_cols;

    // Prepares the inputs as the driver does, then runs the analysis.
    void run(int I, int J, const std::vector<std::int64_t>& by_rows, const Lines& rl, const Lines& cl) {
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
        compute_dependence(freq, work_matrix, row_profiles, col_profiles, row_margins, col_margins, rl, cl, I, J, n,
                           work_rows, work_cols, listing, rs);
    }
};

const Lines kNoLabels(3, std::string(6, ' '));

TEST_F(Dependence, TwoByTwoTableListingAndConsoleCopy) {
    const Lines rl{fixed("rowA", 6), fixed("rowB", 6)}, cl{fixed("colA", 6), fixed("colB", 6)};
    run(2, 2, {10, 20, 30, 40}, rl, cl);
    const std::string chi = " Asympt. approx. chi square                     0.786 with df   1";
    const Lines copied{
        "", " Tau_a (Rows dependent)          0.008", chi,
        "", " Tau_b (Columns dependent)       0.008", chi,
        " Note: Tau_b is only relevent if the data were column-dependent data.",
        " Its value is supplied for informational purposes only.",
        "", " Pearson X² (chi-square)                     0.794 with df   1",
        " Total inertia (X²/n)                                0.008", "",
        "", "        Analysis of Variance (Light & Margolin)", "",
        "                    MS(Total)   MS(Between)   MS(Within)   Tau",
        " ───────────────────────────────────────────────────────────────",
        " Rows dependent       0.2100      0.0017      0.2083      0.0079",
        " Cols dependent       0.2400      0.0019      0.2381      0.0079", "", " Tau = MS(Between)/MS(Total)", ""};
    EXPECT_EQ(as_utf8(console.lines), copied);

    Lines expected{"", " Centred column profiles", " (Mean = Marginal row proportions)",
                   " NO. L  LABEL │  Mean  │     1      2 ", "              │        │ colA   colB  ",
                   " ─────────────┼────────┼──────────────", "  1  1 rowA   │  0.300 │ -0.050  0.033",
                   "  2  2 rowB   │  0.700 │  0.050 -0.033"};
    expected.insert(expected.end(), copied.begin(), copied.begin() + 3);
    for (const char* s : {"", " Proportional contribution to Tau_a of each column", "      1      2 ", "  colA   colB  ",
                          " ──────────────", "   0.600  0.400", "", " Proportional contribution to Tau_a of each row",
                          "      1      2 ", "  rowA   rowB  ", " ──────────────", "   0.500  0.500"})
        expected.push_back(s);
    expected.insert(expected.end(), copied.begin() + 3, copied.end());
    EXPECT_EQ(as_utf8(listing.lines), expected);

    // Handed on: the profiles weighted by sqrt(c(j)), and raw contributions
    // that sum to the numerator of Tau_a (1/300), not to 1.
    EXPECT_NEAR(work_matrix(1, 1), -0.05 * std::sqrt(0.4), 1e-15);
    EXPECT_NEAR(work_matrix(2, 2), (2.0 / 3.0 - 0.7) * std::sqrt(0.6), 1e-15);
    EXPECT_NEAR(work_cols(1), 0.002, 1e-15);
    EXPECT_NEAR(work_cols(2), 1.0 / 750.0, 1e-15);
    EXPECT_NEAR(work_rows(1), 1.0 / 600.0, 1e-15);
    EXPECT_EQ(rs.fatal_state, kFatalNone);
    EXPECT_TRUE(sink.errors.empty());
}

TEST_F(Dependence, RowsAndColumnsKeepTheirRolesInARectangularTable) {
    run(2, 3, {10, 20, 30, 20, 20, 20}, kNoLabels, kNoLabels);
    const Lines l = as_utf8(console.lines);
    EXPECT_EQ(Lines(l.begin() + 1, l.begin() + 3),
              (Lines{" Tau_a (Rows dependent)          0.044",
                     " Asympt. approx. chi square                     5.289 with df   2"}));
    EXPECT_EQ(Lines(l.begin() + 4, l.begin() + 6),
              (Lines{" Tau_b (Columns dependent)       0.021",
                     " Asympt. approx. chi square                     5.064 with df   2"}));
    EXPECT_EQ(l[9], " Pearson X² (chi-square)                     5.333 with df   2");
    EXPECT_EQ(l[17], " Rows dependent       0.2500      0.0111      0.2389      0.0444");
    EXPECT_EQ(l[18], " Cols dependent       0.3264      0.0069      0.3194      0.0213");
    EXPECT_EQ(listing.lines.at(3 + 5 + 3 + 5), "   0.625  0.000  0.375");
}

TEST_F(Dependence, TauZeroWarnsAfterTheListingAndSkipsTheDecomposition) {
    run(2, 3, {1, 2, 3, 2, 4, 6}, kNoLabels, kNoLabels);  // every column has the profile (1/3, 2/3)
    EXPECT_EQ(listing.lines.at(3 + 5 + 3 + 5), "   0.000  0.000  0.000");
    EXPECT_EQ(listing.lines.at(3 + 5 + 3 + 6 + 5), "   0.000  0.000");
    EXPECT_EQ(listing.lines.at(listing.lines.size() - 2), " Tau = MS(Between)/MS(Total)");
    EXPECT_EQ(rs.fatal_state, kFatalSkipNsca);
    ASSERT_EQ(sink.errors.size(), 5u);
    EXPECT_EQ(sink.errors[2], " Tau is 0, thus rows and columns are perfectly independent.");
    for (double w : work_cols) EXPECT_EQ(w, 0.0);
}

TEST_F(Dependence, MoreThanTwoBillionObservations) {
    // N = 6e9, so (N - 1)(I - 1) needs more than 32 bits; Tau_a = Tau_b = 1/9.
    run(2, 2, {2000000000, 1000000000, 1000000000, 2000000000}, kNoLabels, kNoLabels);
    const std::string chi = " Asympt. approx. chi square             666666666.556 with df   1";
    EXPECT_EQ(console.lines.at(1), " Tau_a (Rows dependent)          0.111");
    EXPECT_EQ(console.lines.at(2), chi);
    EXPECT_EQ(console.lines.at(5), chi);
    EXPECT_EQ(cp437_to_utf8(console.lines.at(9)), " Pearson X² (chi-square)             666666666.667 with df   1");
}

}  // namespace
}  // namespace marvist
