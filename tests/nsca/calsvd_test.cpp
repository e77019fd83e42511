// The table of singular values and inertias, the number of usable axes and
// the standard coordinates.
#include "nsca/calsvd.h"

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

struct Calsvd : ::testing::Test {
    CapturedRecords listing;
    test::CapturingReportSink sink;
    RunState rs;
    Matrix<double> F, G;
    Vector<double> W;
    int d = -1;

    void SetUp() override {
        rs.reports = &sink;
        rs.row_variable = fixed("Rows", 12);
        rs.col_variable = fixed("Cols", 12);
    }
    void TearDown() override { set_storage_limit(0); }

    // A holds at least max(m, n) rows, the first m of them used.
    void run(const Matrix<double>& A, int m, int n, int n_axes) {
        const int ld = std::max(m, n);
        rs.n_axes = n_axes;
        F = Matrix<double>(m, n_axes);
        G = Matrix<double>(n, n_axes);
        W = Vector<double>(n);
        Vector<double> work(ld);
        listing.lines.clear();
        calsvd(A, F, G, W, work, ld, m, n, d, test::numbered_labels("r", m), test::numbered_labels("c", n), listing,
               rs);
    }
    // The rows of the table, then the total-inertia line: what follows the
    // 54-character rule up to the second empty line.
    Lines table() const {
        const Lines all = test::as_utf8(listing.lines);
        auto first = std::find_if(all.begin(), all.end(), [](const std::string& s) { return s.find("──────") == 1; });
        if (first == all.end()) return {};
        auto last = std::find(++first, all.end(), "");
        Lines rows(first, last);
        rows.push_back(*(last + 1));
        return rows;
    }
    long count(const std::string& line) const {
        const Lines all = test::as_utf8(listing.lines);
        return std::count(all.begin(), all.end(), line);
    }
};

const std::string kTotal = " (= 2 * MS(Between) = Sum Eigenvalues)";

Matrix<double> four_by_three() { return test::table_inputs(4, 3, {10, 2, 3, 4, 12, 5, 1, 3, 9, 6, 6, 2}).work_matrix; }

TEST_F(Calsvd, FourByThreeTableHasTwoAxesAndOrthonormalCoordinates) {
    const Matrix<double> A = four_by_three();
    run(A, 4, 3, 2);
    EXPECT_EQ(rs.fatal_state, kFatalNone);
    EXPECT_EQ(d, 2);
    EXPECT_EQ(rs.n_axes, 2);
    EXPECT_NEAR(W(3), 0.0, 1e-15);
    EXPECT_EQ(table(), (Lines{"    1     0.23165     0.05366    0.606          0.606",
                              "    2     0.18663     0.03483    0.394          1.000",
                              " Total Inertia        0.08849" + kTotal}));
    // Fᵀ·A·G = diag(W), FᵀF = GᵀG = I.
    for (int p = 1; p <= 2; ++p)
        for (int q = 1; q <= 2; ++q) {
            double uAv = 0.0, uu = 0.0, vv = 0.0;
            for (int i = 1; i <= 4; ++i) {
                uu += F(i, p) * F(i, q);
                for (int j = 1; j <= 3; ++j) uAv += F(i, p) * A(i, j) * G(j, q);
            }
            for (int j = 1; j <= 3; ++j) vv += G(j, p) * G(j, q);
            EXPECT_NEAR(uAv, p == q ? W(p) : 0.0, 1e-14);
            EXPECT_NEAR(uu, p == q ? 1.0 : 0.0, 1e-14);
            EXPECT_NEAR(vv, p == q ? 1.0 : 0.0, 1e-14);
        }
    // The coordinates listed are those returned.
    char row[64];
    std::snprintf(row, sizeof row, "  4  4 r4     │%7.3f%7.3f", F(4, 1), F(4, 2));
    EXPECT_EQ(count(" Standard row coordinates (Left singular vectors) - Rows        "), 1);
    EXPECT_EQ(count(row), 1);
    std::snprintf(row, sizeof row, "  3  3 c3     │%7.3f%7.3f", G(3, 1), G(3, 2));
    EXPECT_EQ(test::as_utf8(listing.lines).back(), row);

    run(A, 4, 3, 1);  // fewer axes asked than usable: all are listed, K stays 1
    EXPECT_EQ(table().size(), 3u);
    EXPECT_EQ(rs.n_axes, 1);
    EXPECT_EQ(count(" NO. L  LABEL │     1 "), 2);
}

// Singular values 0.4, 0.3, 0.1 and 0, two rows mixed by a rotation.
TEST_F(Calsvd, ProportionsAreFractionsOfTheTotal) {
    Matrix<double> A(5, 4);
    A(2, 1) = -0.4, A(4, 2) = 0.3, A(1, 3) = 0.1;
    for (int j = 1; j <= 4; ++j) {
        const double a = A(1, j), b = A(2, j);
        A(1, j) = 0.6 * a - 0.8 * b, A(2, j) = 0.8 * a + 0.6 * b;
    }
    run(A, 5, 4, 3);
    EXPECT_EQ(d, 3);
    EXPECT_EQ(table(), (Lines{"    1     0.40000     0.16000    0.615          0.615",
                              "    2     0.30000     0.09000    0.346          0.962",
                              "    3     0.10000     0.01000    0.038          1.000",
                              " Total Inertia        0.26000" + kTotal}));
}

// A value of exactly 1e-06 counts as zero but adds to the total; the next
// double above it is an axis.
TEST_F(Calsvd, AxesAskedAreLoweredToTheValuesAboveTheThreshold) {
    for (const double second : {1e-06, std::nextafter(1e-06, 1.0)}) {
        Matrix<double> A(3, 3);
        A(1, 1) = 0.5, A(2, 2) = second;
        run(A, 3, 3, 2);
        ASSERT_EQ(W(2), second) << "a diagonal comes back exactly";
        const int axes = second > 1e-06 ? 2 : 1;
        EXPECT_EQ(d, axes);
        EXPECT_EQ(rs.n_axes, axes);
        EXPECT_EQ(table().size(), axes + 1u);
        EXPECT_EQ(table().back(), " Total Inertia        0.25000" + kTotal);
        EXPECT_EQ(count(axes == 2 ? " NO. L  LABEL │     1      2 " : " NO. L  LABEL │     1 "), 2);
    }
}

TEST_F(Calsvd, FailuresAreFatal) {
    Matrix<double> A = four_by_three();
    A(2, 2) = std::numeric_limits<double>::quiet_NaN();
    run(A, 4, 3, 2);  // no convergence: the one line, then error 50
    EXPECT_EQ(rs.fatal_state, kFatal);
    ASSERT_EQ(listing.lines.size(), 1u);
    EXPECT_EQ(listing.lines[0].substr(0, 42), " Trouble. Error(s) in SVD routine: IERR = ");
    EXPECT_GE(std::stoi(listing.lines[0].substr(42)), 1);
    EXPECT_EQ(std::count(sink.errors.begin(), sink.errors.end(), " Fatal error in singular value decomposition routine"), 1);

    sink.errors.clear();
    set_storage_limit(64);  // below the 4 x 3 singular vectors
    run(four_by_three(), 4, 3, 2);
    EXPECT_TRUE(listing.lines.empty());
    EXPECT_EQ(test::reported_codes(sink.errors), (std::vector<int>{37}));
    EXPECT_EQ(rs.n_axes, 2);
}

}  // namespace
}  // namespace marvist
