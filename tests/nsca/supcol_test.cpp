// Supplementary columns placed by the transition formula.
#include "nsca/supcol.h"

#include <gtest/gtest.h>

#include <cmath>

#include "analysis/report_codes.h"
#include "listing/record_io.h"
#include "listing/storage.h"
#include "nsca/calsvd.h"
#include "nsca_inputs.h"

namespace marvist {
namespace {

constexpr double kUnset = 99.0;

// Columns of counts: column 2 of the table as it stands and five times over,
// a profile equal to the row margins (totals 15, 21, 13, 14), no counts, and
// a column of its own.
const int kSupp[5][4] = {{2, 12, 3, 6}, {10, 60, 15, 30}, {30, 42, 26, 28}, {0, 0, 0, 0}, {10, 2, 3, 4}};

// The two-axis solution of the 4 x 3 table: u, and g = v·λ / sqrt(p_.j) in
// the first J rows of G⁺, kUnset below them.
struct Supcol : ::testing::Test {
    test::TableInputs t = test::table_inputs(4, 3, {10, 2, 3, 4, 12, 5, 1, 3, 9, 6, 6, 2});
    test::CapturingReportSink sink;
    RunState rs;
    Matrix<double> u{4, 2}, g{3, 2}, Gplus{8, 2};
    Matrix<std::int32_t> S{4, 5};

    void SetUp() override {
        rs.reports = &sink;
        rs.n_axes = 2;
        CapturedRecords discard;
        Vector<double> W(3), work(4);
        int d = 0;
        calsvd(t.work_matrix, u, g, W, work, 4, 4, 3, d, test::numbered_labels("r", 4), test::numbered_labels("c", 3),
               discard, rs);
        for (int k = 1; k <= 2; ++k) {
            for (int j = 1; j <= 3; ++j) Gplus(j, k) = g(j, k) = g(j, k) * W(k) / std::sqrt(t.col_margins(j));
            for (int s = 4; s <= 8; ++s) Gplus(s, k) = kUnset;
        }
        for (int s = 1; s <= 5; ++s)
            for (int i = 1; i <= 4; ++i) S(i, s) = kSupp[s - 1][i - 1];
    }
    void TearDown() override { set_storage_limit(0); }
};

TEST_F(Supcol, ColumnsLandWhereTheirProfilesSay) {
    supcol(u, Gplus, t.row_margins, S, 4, 3, 5, rs);
    EXPECT_EQ(rs.fatal_state, kFatalNone);
    for (int k = 1; k <= 2; ++k) {
        EXPECT_NEAR(Gplus(4, k), g(2, k), 1e-14) << "the active column repeated";
        EXPECT_NEAR(Gplus(5, k), g(2, k), 1e-14) << "and multiplied";
        EXPECT_NEAR(Gplus(6, k), 0.0, 1e-15) << "the marginal profile";
        EXPECT_EQ(Gplus(7, k), 0.0) << "no counts: the origin";
        double own = 0.0;  // Σ_i u_ik·(S(i)/t − p_i.)
        for (int i = 1; i <= 4; ++i) own += u(i, k) * (kSupp[4][i - 1] / 19.0 - t.row_margins(i));
        EXPECT_NEAR(Gplus(8, k), own, 1e-15);
        for (int j = 1; j <= 3; ++j) EXPECT_EQ(Gplus(j, k), g(j, k));
    }
    EXPECT_GT(std::fabs(g(2, 1)), 0.1);
    EXPECT_GT(std::fabs(Gplus(8, 1)), 0.01);

    rs.n_axes = 1;  // one axis, one column: one value
    Gplus(4, 1) = Gplus(4, 2) = kUnset;
    supcol(u, Gplus, t.row_margins, S, 4, 3, 1, rs);
    EXPECT_NEAR(Gplus(4, 1), g(2, 1), 1e-14);
    EXPECT_EQ(Gplus(4, 2), kUnset);
}

TEST_F(Supcol, StorageRefusedLeavesTheRowsUnset) {
    set_storage_limit(40);  // the 5 totals fit, the 4 x 5 profiles do not
    supcol(u, Gplus, t.row_margins, S, 4, 3, 5, rs);
    EXPECT_EQ(rs.fatal_state, kFatal);
    EXPECT_EQ(test::reported_codes(sink.errors), (std::vector<int>{37}));
    EXPECT_EQ(Gplus(4, 1), kUnset);
    EXPECT_EQ(Gplus(8, 2), kUnset);
}

}  // namespace
}  // namespace marvist
