// The NSCA routines on inputs the golden listings do not show: the threshold
// of a usable axis, supplementary columns of every kind, a zero count, rows
// and columns without a part of tau, and the failures.
#include "nsca/nsca.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "analysis/report_codes.h"
#include "listing/cp437.h"
#include "listing/fixed_text.h"
#include "listing/record_io.h"
#include "listing/storage.h"
#include "nsca/calsvd.h"
#include "nsca/supcol.h"
#include "support/test_support.h"

namespace marvist {
namespace {

using Lines = std::vector<std::string>;

// The inputs of the NSCA routines for a table of counts, formed from their
// definitions rather than by the dependence statistics.
struct TableInputs {
    int I = 0, J = 0;
    std::int64_t N = 0;
    Matrix<double> counts, work_matrix;  // I x J; (n_ij / n_.j - p_i.) * sqrt(p_.j)
    Vector<double> row_margins, col_margins;
    Vector<double> work_rows, work_cols;  // row and column parts of sum p_.j * pi_ij^2
};

// by_rows: the I x J counts row after row.
TableInputs table_inputs(int I, int J, const std::vector<int>& by_rows) {
    TableInputs t{I, J, 0, Matrix<double>(I, J), Matrix<double>(I, J), Vector<double>(I), Vector<double>(J),
                  Vector<double>(I), Vector<double>(J)};
    std::vector<double> row_total(static_cast<std::size_t>(I + 1)), col_total(static_cast<std::size_t>(J + 1));
    for (int i = 1; i <= I; ++i)
        for (int j = 1; j <= J; ++j) {
            const int n = by_rows[static_cast<std::size_t>((i - 1) * J + j - 1)];
            t.counts(i, j) = n;
            t.N += n;
            row_total[static_cast<std::size_t>(i)] += n;
            col_total[static_cast<std::size_t>(j)] += n;
        }
    const double N = static_cast<double>(t.N);
    for (int i = 1; i <= I; ++i) t.row_margins(i) = row_total[static_cast<std::size_t>(i)] / N;
    for (int j = 1; j <= J; ++j) t.col_margins(j) = col_total[static_cast<std::size_t>(j)] / N;
    for (int i = 1; i <= I; ++i)
        for (int j = 1; j <= J; ++j) {
            const double pi = t.counts(i, j) / col_total[static_cast<std::size_t>(j)] - t.row_margins(i);
            t.work_matrix(i, j) = pi * std::sqrt(t.col_margins(j));
            t.work_rows(i) += t.col_margins(j) * pi * pi;
            t.work_cols(j) += t.col_margins(j) * pi * pi;
        }
    return t;
}

const std::vector<int> kFourByThree{10, 2, 3, 4, 12, 5, 1, 3, 9, 6, 6, 2};

std::vector<std::string> labels(const std::string& prefix, int n) {
    std::vector<std::string> out;
    for (int k = 1; k <= n; ++k) out.push_back(fixed(prefix + std::to_string(k), 6));
    return out;
}

struct Nsca : ::testing::Test {
    CapturedRecords listing;
    test::CapturingReportSink sink;
    RunState rs;
    TableInputs t;
    Lines text;
    Matrix<double> F, G;  // the standard coordinates calsvd returns
    Vector<double> W;
    int d = -1;

    void SetUp() override {
        rs.reports = &sink;
        rs.row_variable = fixed("Response", 12);
        rs.col_variable = fixed("Predictor", 12);
    }
    void TearDown() override { set_storage_limit(0); }

    void run(int n_axes) {
        rs.n_axes = n_axes;
        listing.lines.clear();
        nsca(t.work_matrix, t.row_margins, t.col_margins, Matrix<std::int32_t>(t.I, 1), t.work_rows, t.work_cols, t.N,
             t.I, t.J, 0, 1, labels("r", t.I), labels("c", t.J), listing, rs);
        as_text();
    }
    // calsvd on the m x n matrix A.
    void decompose(const Matrix<double>& A, int m, int n, int n_axes) {
        rs.n_axes = n_axes;
        F = Matrix<double>(m, n_axes), G = Matrix<double>(n, n_axes), W = Vector<double>(n);
        Vector<double> work(std::max(m, n));
        listing.lines.clear();
        calsvd(A, F, G, W, work, std::max(m, n), m, n, d, labels("r", m), labels("c", n), listing, rs);
        as_text();
    }
    void as_text() {
        text.clear();
        for (const std::string& line : listing.lines) text.push_back(cp437_to_utf8(line));
    }
    long count(const std::string& line) const { return std::count(text.begin(), text.end(), line); }
};

// A value of exactly 1e-06 counts as zero but adds to the total; the next
// double above it is an axis.
TEST_F(Nsca, AxesAskedAreLoweredToTheValuesAboveTheThreshold) {
    for (const double second : {1e-06, std::nextafter(1e-06, 1.0)}) {
        Matrix<double> A(3, 3);
        A(1, 1) = 0.5, A(2, 2) = second;
        decompose(A, 3, 3, 2);
        ASSERT_EQ(W(2), second) << "a diagonal comes back exactly";
        const int axes = second > 1e-06 ? 2 : 1;
        EXPECT_EQ(d, axes);
        EXPECT_EQ(rs.n_axes, axes);
        EXPECT_EQ(count("    1     0.50000     0.25000    1.000          1.000"), 1);
        EXPECT_EQ(count("    2     0.00000     0.00000    0.000          1.000"), axes - 1);
        EXPECT_EQ(count(" Total Inertia        0.25000 (= 2 * MS(Between) = Sum Eigenvalues)"), 1);
        EXPECT_EQ(count(axes == 2 ? " NO. L  LABEL │     1      2 " : " NO. L  LABEL │     1 "), 2);
    }
}

// Supplementary columns of the 4 x 3 table: column 2 as it stands and five
// times over, a profile equal to the row margins (totals 15, 21, 13, 14), and
// no counts.
TEST_F(Nsca, SupplementaryColumnsLandWhereTheirProfilesSay) {
    constexpr double kUnset = 99.0;
    const int supp[4][4] = {{2, 12, 3, 6}, {10, 60, 15, 30}, {30, 42, 26, 28}, {0, 0, 0, 0}};
    t = table_inputs(4, 3, kFourByThree);
    decompose(t.work_matrix, 4, 3, 2);
    Matrix<double> Gplus(7, 2);
    Matrix<std::int32_t> S(4, 4);
    for (int k = 1; k <= 2; ++k) {  // principal coordinates v·λ / sqrt(p_.j) above, kUnset below
        for (int j = 1; j <= 3; ++j) Gplus(j, k) = G(j, k) = G(j, k) * W(k) / std::sqrt(t.col_margins(j));
        for (int s = 4; s <= 7; ++s) Gplus(s, k) = kUnset;
    }
    for (int s = 1; s <= 4; ++s)
        for (int i = 1; i <= 4; ++i) S(i, s) = supp[s - 1][i - 1];

    set_storage_limit(32);  // the 4 totals fit, the 4 x 4 profiles do not: rows left unset
    supcol(F, Gplus, t.row_margins, S, 4, 3, 4, rs);
    set_storage_limit(0);
    EXPECT_EQ(rs.fatal_state, kFatal);
    EXPECT_EQ(test::reported_codes(sink.errors), (std::vector<int>{37}));
    EXPECT_EQ(Gplus(4, 1), kUnset);
    EXPECT_EQ(Gplus(7, 2), kUnset);

    rs.fatal_state = kFatalNone;
    supcol(F, Gplus, t.row_margins, S, 4, 3, 4, rs);
    EXPECT_EQ(rs.fatal_state, kFatalNone);
    for (int k = 1; k <= 2; ++k) {
        EXPECT_NEAR(Gplus(4, k), G(2, k), 1e-14) << "the active column repeated";
        EXPECT_NEAR(Gplus(5, k), G(2, k), 1e-14) << "and multiplied";
        EXPECT_NEAR(Gplus(6, k), 0.0, 1e-15) << "the marginal profile";
        EXPECT_EQ(Gplus(7, k), 0.0) << "no counts: the origin";
        for (int j = 1; j <= 3; ++j) EXPECT_EQ(Gplus(j, k), G(j, k));
    }
    EXPECT_GT(std::fabs(G(2, 1)), 0.1);

    rs.n_axes = 1;  // one axis, one column: one value
    Gplus(4, 1) = Gplus(4, 2) = kUnset;
    supcol(F, Gplus, t.row_margins, S, 4, 3, 1, rs);
    EXPECT_NEAR(Gplus(4, 1), G(2, 1), 1e-14);
    EXPECT_EQ(Gplus(4, 2), kUnset);
}

// The zero count adds nothing to G2 (and no NaN); 2.2605 is 2·o·ln|o/e| over
// the other cells of the one-axis fit, worked out independently.
TEST_F(Nsca, AZeroCountAddsNothingToG2) {
    t = table_inputs(3, 3, {8, 0, 2, 1, 6, 3, 2, 3, 7});
    run(1);
    EXPECT_EQ(count(" LogLikelihood Ratio (G2)     2.2605 df =   1"), 1);
}

// Row 3 and column 3 follow the margins exactly and carry no part of tau:
// their contributions show 0, not 0/0.
TEST_F(Nsca, RowsAndColumnsWithoutAPartOfTauShowZero) {
    t = table_inputs(3, 3, {5, 1, 3, 1, 5, 3, 3, 3, 3});
    ASSERT_EQ(t.work_rows(3), 0.0);
    ASSERT_EQ(t.work_cols(3), 0.0);
    run(2);
    EXPECT_EQ(rs.n_axes, 1) << "one usable axis";
    for (const std::string& line : text) EXPECT_EQ(line.find("NaN"), std::string::npos) << line;
    EXPECT_EQ(count("   1.000  1.000  0.000"), 1) << "the columns' shares of tau";
    EXPECT_EQ(count("  3  3 r3     │  0.000 │  0.000"), 1) << "row 3's contribution";
}

// No convergence: the section ends after its heading and the decomposition's
// one line, with error 50. Storage refused: the
// memory error, nothing written, the axes asked for unchanged.
TEST_F(Nsca, FailuresEndTheSection) {
    const TableInputs table = table_inputs(4, 3, kFourByThree);
    t = table;
    t.work_matrix(2, 2) = std::numeric_limits<double>::quiet_NaN();
    run(2);
    EXPECT_EQ(rs.fatal_state, kFatal);
    ASSERT_EQ(text.size(), 6u);
    EXPECT_EQ(text[5].substr(0, 42), " Trouble. Error(s) in SVD routine: IERR = ");
    EXPECT_GE(std::stoi(text[5].substr(42)), 1);
    EXPECT_EQ(std::count(sink.errors.begin(), sink.errors.end(), " Fatal error in singular value decomposition routine"), 1);

    for (const bool whole : {false, true}) {
        sink.errors.clear();
        rs.fatal_state = kFatalNone;
        t = table;
        set_storage_limit(64);  // below the 4 x 3 singular vectors and the 4 x 3 copy of the data
        whole ? run(2) : decompose(t.work_matrix, 4, 3, 2);
        EXPECT_TRUE(listing.lines.empty()) << whole;
        EXPECT_EQ(test::reported_codes(sink.errors), (std::vector<int>{37})) << whole;
        EXPECT_EQ(rs.fatal_state, kFatal) << whole;
        EXPECT_EQ(rs.n_axes, 2) << whole;
    }
}

}  // namespace
}  // namespace marvist
