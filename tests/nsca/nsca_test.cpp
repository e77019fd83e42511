// The NSCA section: fit statistics, residuals, contributions and the early
// returns. Whole listings are in nsca_golden_test.cpp.
#include "nsca/nsca.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "analysis/report_codes.h"
#include "listing/record_io.h"
#include "listing/storage.h"
#include "nsca_inputs.h"

namespace marvist {
namespace {

using Lines = std::vector<std::string>;

struct Nsca : ::testing::Test {
    CapturedRecords listing;
    test::CapturingReportSink sink;
    RunState rs;
    test::TableInputs t;
    Lines text;

    void SetUp() override {
        rs.reports = &sink;
        rs.row_variable = fixed("Response", 12);
        rs.col_variable = fixed("Predictor", 12);
    }
    void TearDown() override { set_storage_limit(0); }

    void run(int n_axes) {
        rs.n_axes = n_axes;
        nsca(t.work_matrix, t.row_margins, t.col_margins, Matrix<std::int32_t>(t.I, 1), t.work_rows, t.work_cols, t.N,
             t.I, t.J, 0, 1, test::numbered_labels("r", t.I), test::numbered_labels("c", t.J), listing, rs);
        text = test::as_utf8(listing.lines);
    }
    bool has(const std::string& line) const { return std::find(text.begin(), text.end(), line) != text.end(); }
    // The n lines after the first line equal to caption.
    Lines after(const std::string& caption, std::size_t n) const {
        auto at = std::find(text.begin(), text.end(), caption);
        if (static_cast<std::size_t>(text.end() - at) <= n) return {caption + " missing"};
        return Lines(at + 1, at + 1 + static_cast<std::ptrdiff_t>(n));
    }
};

const std::vector<int> kFourByThree{10, 2, 3, 4, 12, 5, 1, 3, 9, 6, 6, 2};
const std::string kTauCaption = " to column ( Predictor   ) contribution to tau";
const std::string kRowsCaption = " plus total contribution of all axes - Response    ";

TEST_F(Nsca, OneAxisOfTheFourByThreeTable) {
    t = test::table_inputs(4, 3, kFourByThree);
    run(1);
    EXPECT_EQ(rs.fatal_state, kFatalNone);
    EXPECT_TRUE(sink.errors.empty());
    EXPECT_TRUE(has(" LogLikelihood Ratio (G2)     8.8591 df =   2"));
    EXPECT_TRUE(has(" 1 dimensions fits well or not."));
    EXPECT_TRUE(has(" Root Mean Square of Residuals    0.0933"));
    EXPECT_TRUE(has(" NO PLOT. THE NUMBER OF DIMENSIONS IS ONE."));
    EXPECT_EQ(after(kTauCaption, 4).back(), "   0.983  0.218  0.468");
    EXPECT_EQ(after(kRowsCaption, 6),
              (Lines{" NO. L  LABEL │   Sum  │     1 ", " ─────────────┼────────┼───────",
                     "  1  1 r1     │  0.893 │  0.893", "  2  2 r2     │  0.321 │  0.321",
                     "  3  3 r3     │  0.556 │  0.556", "  4  4 r4     │  0.496 │  0.496"}));
    // The columns' shares of the axis's inertia add up to 1.
    const Lines shares = after(" Proportional contribution of columns (Predictor   ) to axes", 6);
    double sum = 0.0;
    for (std::size_t k = 3; k < 6; ++k) sum += std::stod(shares[k].substr(17));
    EXPECT_NEAR(sum, 1.0, 0.0015);
    // On return the matrix holds the residuals: observed minus implied profiles.
    EXPECT_NEAR(t.work_matrix(2, 2), 0.146, 0.0005);
}

// With all min(I, J) - 1 axes the implied profiles are the observed ones.
TEST_F(Nsca, AllAxesFitTheTableExactly) {
    t = test::table_inputs(4, 3, kFourByThree);
    run(2);
    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j <= 3; ++j) EXPECT_NEAR(t.work_matrix(i, j), 0.0, 1e-14) << i << "," << j;
    EXPECT_TRUE(has(" LogLikelihood Ratio (G2)     0.0000 df =   0"));
    EXPECT_TRUE(has(" Root Mean Square of Residuals    0.0000"));
    EXPECT_EQ(after(kTauCaption, 4).back(), "   1.000  1.000  1.000");
    for (const std::string& row : after(kRowsCaption, 6)) {
        if (row.rfind("  ", 0) == 0) {
            EXPECT_EQ(row.substr(14, 11), "│  1.000 ") << row;
        }
    }
}

// G2 from the residuals returned: 2·o·ln|o/e| over the cells with a count;
// the zero count adds nothing (and no NaN).
TEST_F(Nsca, AZeroCountAddsNothingToG2) {
    t = test::table_inputs(3, 3, {8, 0, 2, 1, 6, 3, 2, 3, 7});
    const Matrix<double> observed = t.work_matrix;
    run(1);
    double G2 = 0.0;
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) {
            const double fitted = observed(i, j) / std::sqrt(t.col_margins(j)) - t.work_matrix(i, j);
            const double e = (fitted + t.row_margins(i)) * t.col_margins(j) * static_cast<double>(t.N);
            if (t.counts(i, j) > 0) G2 += 2.0 * t.counts(i, j) * std::log(std::fabs(t.counts(i, j) / e));
        }
    char line[64];
    std::snprintf(line, sizeof line, " LogLikelihood Ratio (G2) %10.4f df =   1", G2);
    EXPECT_TRUE(has(line)) << line;
    EXPECT_GT(G2, 0.1);
}

// Row 3 and column 3 follow the margins exactly and carry no part of tau:
// their contributions show 0, not 0/0.
TEST_F(Nsca, RowsAndColumnsWithoutAPartOfTauShowZero) {
    t = test::table_inputs(3, 3, {5, 1, 3, 1, 5, 3, 3, 3, 3});
    ASSERT_EQ(t.work_rows(3), 0.0);
    ASSERT_EQ(t.work_cols(3), 0.0);
    run(2);
    EXPECT_EQ(rs.n_axes, 1) << "one usable axis";
    for (const std::string& line : text) EXPECT_EQ(line.find("NaN"), std::string::npos) << line;
    EXPECT_EQ(after(kTauCaption, 4).back(), "   1.000  1.000  0.000");
    EXPECT_EQ(after(kRowsCaption, 5).back(), "  3  3 r3     │  0.000 │  0.000");
}

TEST_F(Nsca, FailuresEndTheSection) {
    t = test::table_inputs(4, 3, kFourByThree);
    t.work_matrix(2, 2) = std::numeric_limits<double>::quiet_NaN();
    run(2);  // the heading, then the decomposition's one line
    EXPECT_EQ(rs.fatal_state, kFatal);
    ASSERT_EQ(text.size(), 6u);
    EXPECT_EQ(text[5].substr(0, 42), " Trouble. Error(s) in SVD routine: IERR = ");

    listing.lines.clear();
    sink.errors.clear();
    rs.fatal_state = kFatalNone;
    t = test::table_inputs(4, 3, kFourByThree);
    set_storage_limit(40);  // below the 4 x 3 copy of the data: nothing written
    run(2);
    EXPECT_TRUE(listing.lines.empty());
    EXPECT_EQ(test::reported_codes(sink.errors), (std::vector<int>{37}));
}

}  // namespace
}  // namespace marvist
