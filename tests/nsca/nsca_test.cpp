// The NSCA routines on inputs the golden listings do not show: the threshold
// of a usable axis, supplementary columns without counts or refused their
// storage, and the failures.
#include "nsca/nsca.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/cp437.h"
#include "base/record_io.h"
#include "base/storage.h"
#include "nsca/calsvd.h"
#include "nsca/supcol.h"
#include "support/test_support.h"

namespace marvist {
namespace {

// n blank labels.
std::vector<std::string> labels(int n) { return std::vector<std::string>(static_cast<std::size_t>(n), "      "); }

struct Nsca : ::testing::Test {
    CapturedRecords listing;
    test::CapturingReportSink sink;
    RunState rs;
    Vector<double> W;  // the singular values calsvd returns

    Nsca() { rs.reports = &sink; }
    void TearDown() override { set_storage_limit(0); }

    // calsvd on the m x n matrix A; returns the usable axes.
    int decompose(const Matrix<double>& A, int m, int n, int n_axes) {
        rs.n_axes = n_axes;
        Matrix<double> F(m, n_axes), G(n, n_axes);
        W = Vector<double>(n);
        Vector<double> work(std::max(m, n));
        int d = -1;
        calsvd(A, F, G, W, work, std::max(m, n), m, n, d, labels(m), labels(n), listing, rs);
        return d;
    }
    // nsca on the 4 x 3 matrix A with even margins.
    void run(Matrix<double> A, int n_axes) {
        rs.n_axes = n_axes;
        Vector<double> rows(4), cols(3);
        std::fill(rows.begin(), rows.end(), 0.25);
        std::fill(cols.begin(), cols.end(), 1.0 / 3);
        nsca(A, rows, cols, Matrix<std::int32_t>(4, 1), rows, cols, 60, 4, 3, 0, 1, labels(4), labels(3),
             listing, rs);
    }
    long count(const std::string& line) const {
        return std::count_if(listing.lines.begin(), listing.lines.end(),
                             [&line](const std::string& got) { return cp437_to_utf8(got) == line; });
    }
};

Matrix<double> some_matrix() {
    Matrix<double> A(4, 3);
    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j <= 3; ++j) A(i, j) = 0.1 * ((i + 2 * j) % 5) - 0.2;
    return A;
}

// A value of exactly 1e-06 counts as zero but adds to the total; the next
// double above it is an axis.
TEST_F(Nsca, AxesAskedAreLoweredToTheValuesAboveTheThreshold) {
    for (const double second : {1e-06, std::nextafter(1e-06, 1.0)}) {
        Matrix<double> A(3, 3);
        A(1, 1) = 0.5, A(2, 2) = second;
        listing.lines.clear();
        const int d = decompose(A, 3, 3, 2);
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

// Supplementary columns after two active ones, of 3, 1 and of no counts;
// standard row coordinates (1, 0) and (0, 1) and margins 1/2: the first
// column stands at (1/4, -1/4), the second at the origin. One axis: one
// value. Storage refused: the columns are left unset.
TEST_F(Nsca, SupplementaryColumnsWithoutCountsStandAtTheOrigin) {
    constexpr double kUnset = 99.0;
    Matrix<double> u(2, 2), Gplus(4, 2);
    Vector<double> margins(2);
    Matrix<std::int32_t> S(2, 2);
    u(1, 1) = u(2, 2) = 1.0;
    margins(1) = margins(2) = 0.5;
    S(1, 1) = 3, S(2, 1) = 1;
    const auto unset = [&] { std::fill(Gplus.data(), Gplus.data() + 8, kUnset); };

    unset();
    set_storage_limit(16);  // the 2 totals fit, the 2 x 2 profiles do not
    rs.n_axes = 2;
    supcol(u, Gplus, margins, S, 2, 2, 2, rs);
    set_storage_limit(0);
    EXPECT_EQ(rs.fatal_state, kFatal);
    EXPECT_EQ(sink.codes, (std::vector<ErrorCode>{ErrorCode::Memory}));
    EXPECT_EQ(Gplus(3, 1), kUnset);

    rs.fatal_state = kFatalNone;
    supcol(u, Gplus, margins, S, 2, 2, 2, rs);
    EXPECT_EQ(rs.fatal_state, kFatalNone);
    EXPECT_EQ((std::vector<double>{Gplus(3, 1), Gplus(3, 2), Gplus(4, 1), Gplus(4, 2), Gplus(2, 1)}),
              (std::vector<double>{0.25, -0.25, 0.0, 0.0, kUnset}));

    unset();
    rs.n_axes = 1;
    supcol(u, Gplus, margins, S, 2, 2, 2, rs);
    EXPECT_EQ(Gplus(3, 1), 0.25);
    EXPECT_EQ(Gplus(3, 2), kUnset);
}

// No convergence: the section ends after its heading and the decomposition's
// one line, with error 50. Storage refused: the memory error, nothing
// written, the axes asked for unchanged.
TEST_F(Nsca, FailuresEndTheSection) {
    Matrix<double> A = some_matrix();
    A(2, 2) = std::numeric_limits<double>::quiet_NaN();
    run(A, 2);
    EXPECT_EQ(rs.fatal_state, kFatal);
    ASSERT_EQ(listing.lines.size(), 6u);
    EXPECT_EQ(listing.lines[5].substr(0, 42), " Trouble. Error(s) in SVD routine: IERR = ");
    EXPECT_GE(std::stoi(listing.lines[5].substr(42)), 1);
    EXPECT_EQ(std::count(sink.errors.begin(), sink.errors.end(), " Fatal error in singular value decomposition routine"), 1);

    for (const bool whole : {false, true}) {
        sink.errors.clear();
        sink.codes.clear();
        listing.lines.clear();
        rs.fatal_state = kFatalNone;
        set_storage_limit(64);  // below the 4 x 3 singular vectors and the 4 x 3 copy of the data
        whole ? run(some_matrix(), 2) : (void)decompose(some_matrix(), 4, 3, 2);
        EXPECT_TRUE(listing.lines.empty()) << whole;
        EXPECT_EQ(sink.codes, (std::vector<ErrorCode>{ErrorCode::Memory})) << whole;
        EXPECT_EQ(rs.fatal_state, kFatal) << whole;
        EXPECT_EQ(rs.n_axes, 2) << whole;
    }
}

}  // namespace
}  // namespace marvist
