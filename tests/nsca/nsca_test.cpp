// The NSCA solution as values: the worked 4 x 3 example, an independent
// decomposition (Eigen) of the same matrix, supplementary columns by the
// transition formula, the threshold of a usable axis, and where failures stop.
#include "nsca/nsca.h"

#include <gtest/gtest.h>

#include <Eigen/SVD>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "base/storage.h"
#include "nsca/calsvd.h"
#include "nsca/supcol.h"
#include "stats/dependence.h"
#include "stats/marginals.h"
#include "support/test_support.h"

namespace marvist {
namespace {

// The table, its marginals and dependence measures, as the driver prepares them.
struct Prepared {
    int I, J;
    Matrix<std::int32_t> counts, supp;
    Marginals m;
    DependenceResult d;

    Prepared(int rows, int cols, const std::vector<std::int32_t>& by_rows)
        : I(rows), J(cols), counts(test::counts_of(rows, cols, by_rows)), supp(rows, 1) {
        EXPECT_TRUE(obtain_marginals(m, I, J));
        compute_marginals(counts, I, J, m);
        compute_profiles(counts, I, J, m);
        d = *compute_dependence(counts, m, I, J);
    }
    NscaResult solve(int n_axes, int n_supp = 0) const {
        return nsca(d.weighted_profiles, m.row_margins, m.col_margins, n_supp > 0 ? supp : Matrix<std::int32_t>(I, 1),
                    d.row_parts, d.col_parts, m.total_n, I, J, n_supp, n_axes);
    }
};

const std::vector<std::int32_t> kFourByThree{10, 2, 3, 4, 12, 5, 1, 3, 9, 6, 6, 2};

// The worked example: singular values 0.23165 and 0.18663 with proportions
// 0.606 and 0.394 of the total inertia 0.08849; with one axis G2 = 8.8591 on
// 2 df, RMS 0.0933, the axis accounting for 0.983, 0.218, 0.468 of the
// columns' parts of tau and 0.893, 0.321, 0.556, 0.496 of the rows'.
TEST(NscaResults, FourByThreeWorkedExample) {
    const Prepared p(4, 3, kFourByThree);
    const NscaResult one = p.solve(1);
    ASSERT_EQ(one.failure, NscaFailure::None);
    EXPECT_EQ(one.inertias.usable_axes, 2);
    EXPECT_NEAR(one.singular_values(1), 0.23165, 5e-6);
    EXPECT_NEAR(one.singular_values(2), 0.18663, 5e-6);
    EXPECT_NEAR(one.singular_values(3), 0.0, 1e-12);
    EXPECT_NEAR(one.inertias.total, 0.08849, 5e-6);
    EXPECT_NEAR(one.inertias.proportions[0], 0.606, 5e-4);
    EXPECT_NEAR(one.inertias.cumulative[1], 1.0, 1e-14);
    EXPECT_EQ(one.n_axes, 1);
    EXPECT_NEAR(one.g2, 8.8591, 5e-5);
    EXPECT_EQ(one.df, 2);
    EXPECT_NEAR(one.rms, 0.0933, 5e-5);
    const double cols[] = {0.983, 0.218, 0.468}, rows[] = {0.893, 0.321, 0.556, 0.496};
    for (int j = 1; j <= 3; ++j) EXPECT_NEAR(one.col_explained(j), cols[j - 1], 5e-4) << j;
    for (int i = 1; i <= 4; ++i) EXPECT_NEAR(one.row_explained(i), rows[i - 1], 5e-4) << i;
    double shares = 0;
    for (int j = 1; j <= 3; ++j) shares += one.col_axis_shares(j, 1);
    EXPECT_NEAR(shares, 1.0, 1e-14);

    // Both usable axes: the implied profiles are the observed ones.
    const NscaResult two = p.solve(2);
    EXPECT_EQ(two.df, 0);
    EXPECT_NEAR(two.g2, 0.0, 1e-10);
    EXPECT_NEAR(two.rms, 0.0, 1e-15);
    for (int i = 1; i <= 4; ++i) EXPECT_NEAR(two.row_explained(i), 1.0, 1e-12);
    for (int j = 1; j <= 3; ++j) {
        for (int i = 1; i <= 4; ++i) EXPECT_NEAR(two.implied(i, j), p.d.centred_profiles(i, j), 1e-13);
    }
}

// Against Eigen's decomposition of the weighted centred profiles: the same
// singular values; vectors equal up to a sign per axis; g = v·λ/√c; the
// implied profiles Σ u·g and the residuals their difference from the
// centred profiles; G2 = 2 Σ o ln(o/e) over the cells with counts.
TEST(NscaResults, AgreesWithAnIndependentDecomposition) {
    const Prepared p(5, 4, {20, 3, 4, 9, 2, 15, 6, 1, 7, 5, 18, 2, 1, 9, 3, 14, 8, 8, 8, 8});
    const int I = 5, J = 4, K = 2;
    const NscaResult r = p.solve(K);
    ASSERT_EQ(r.failure, NscaFailure::None);
    ASSERT_EQ(r.n_axes, K);

    Eigen::MatrixXd X(I, J);
    for (int i = 1; i <= I; ++i)
        for (int j = 1; j <= J; ++j) X(i - 1, j - 1) = p.d.weighted_profiles(i, j);
    const Eigen::JacobiSVD<Eigen::MatrixXd> svd(X, Eigen::ComputeFullU | Eigen::ComputeFullV);
    const Eigen::VectorXd lambda = svd.singularValues();
    for (int k = 1; k <= J; ++k) EXPECT_NEAR(r.singular_values(k), lambda(k - 1), 1e-13) << k;

    Eigen::MatrixXd g(J, K);
    for (int k = 1; k <= K; ++k) {
        double agreement = 0;  // the sign Eigen chose for axis k, relative to ours
        for (int i = 1; i <= I; ++i) agreement += svd.matrixU()(i - 1, k - 1) * r.row_standard(i, k);
        const double sign = agreement < 0 ? -1.0 : 1.0;
        for (int i = 1; i <= I; ++i) EXPECT_NEAR(r.row_standard(i, k), sign * svd.matrixU()(i - 1, k - 1), 1e-12);
        for (int j = 1; j <= J; ++j) {
            const double v = sign * svd.matrixV()(j - 1, k - 1);
            EXPECT_NEAR(r.col_standard(j, k), v, 1e-12);
            g(j - 1, k - 1) = v * lambda(k - 1) / std::sqrt(p.m.col_margins(j));
            EXPECT_NEAR(r.col_principal(j, k), g(j - 1, k - 1), 1e-12);
        }
    }
    double g2 = 0, ss = 0;
    const double N = static_cast<double>(p.m.total_n);
    for (int i = 1; i <= I; ++i) {
        for (int j = 1; j <= J; ++j) {
            double implied = 0;
            for (int k = 1; k <= K; ++k) implied += r.row_standard(i, k) * g(j - 1, k - 1);
            EXPECT_NEAR(r.implied(i, j), implied, 1e-13);
            const double residual = p.d.centred_profiles(i, j) - implied;
            EXPECT_NEAR(r.residuals(i, j), residual, 1e-13);
            ss += residual * residual;
            const double observed = p.counts(i, j);
            const double fitted = (implied + p.m.row_margins(i)) * p.m.col_margins(j) * N;
            if (observed > 0) g2 += 2 * observed * std::log(std::fabs(observed / fitted));
        }
    }
    EXPECT_NEAR(r.g2, g2, 1e-9);
    EXPECT_NEAR(r.rms, std::sqrt(ss / (I * J)), 1e-14);
    EXPECT_EQ(r.df, (J - K - 1) * (I - K - 1));
    for (int j = 1; j <= J; ++j) {
        const double length = std::hypot(g(j - 1, 0), g(j - 1, 1));
        EXPECT_NEAR(r.col_lengths(j), length, 1e-13);
        for (int k = 1; k <= K; ++k)
            EXPECT_NEAR(r.col_axis_shares(j, k),
                        p.m.col_margins(j) * g(j - 1, k - 1) * g(j - 1, k - 1) / (lambda(k - 1) * lambda(k - 1)),
                        1e-12);
    }
}

// A supplementary column twice an active one lands on it; one whose profile
// is the row margins lands at the origin, and so does one without counts.
TEST(NscaResults, SupplementaryColumnsByTheTransitionFormula) {
    Prepared p(3, 4, {12, 3, 5, 8, 2, 10, 4, 6, 6, 7, 11, 2});
    p.supp = Matrix<std::int32_t>(3, 3);
    for (int i = 1; i <= 3; ++i) {
        p.supp(i, 1) = 2 * p.counts(i, 2);
        p.supp(i, 2) = static_cast<std::int32_t>(p.m.row_totals(i));
    }
    const NscaResult r = p.solve(2, 3);
    ASSERT_EQ(r.failure, NscaFailure::None);
    for (int k = 1; k <= 2; ++k) {
        EXPECT_NEAR(r.supp_principal(1, k), r.col_principal(2, k), 1e-14) << k;
        EXPECT_NEAR(r.supp_principal(2, k), 0.0, 1e-15) << k;
        EXPECT_EQ(r.supp_principal(3, k), 0.0) << k;
    }

    // supcol itself, its storage refused: nothing written.
    Matrix<double> G(3, 2);
    G(1, 1) = 99.0;
    set_storage_limit(24);  // the 3 totals fit, the 3 x 3 profiles do not
    EXPECT_EQ(supcol(r.row_standard, G, p.m.row_margins, p.supp, 3, 3, 2), ErrorCode::Memory);
    set_storage_limit(0);
    EXPECT_EQ(G(1, 1), 99.0);
}

// A value of exactly 1e-06 counts as zero but adds to the total; the next
// double above it is an axis. The axes asked for are lowered to the usable ones.
TEST(NscaResults, UsableAxesAreTheValuesAboveTheThreshold) {
    for (const double second : {1e-06, std::nextafter(1e-06, 1.0)}) {
        Matrix<double> A(3, 3), F(3, 2), G(3, 2);
        A(1, 1) = 0.5, A(2, 2) = second;
        Vector<double> W(3), work(3);
        InertiaTable table;
        int n_axes = 2, ierr = -1;
        ASSERT_EQ(calsvd(A, F, G, W, work, 3, 3, 3, n_axes, table, ierr), ErrorCode::None);
        ASSERT_EQ(W(2), second) << "a diagonal comes back exactly";
        const int axes = second > 1e-06 ? 2 : 1;
        EXPECT_EQ(table.usable_axes, axes);
        EXPECT_EQ(n_axes, axes);
        EXPECT_EQ(table.total, 0.25 + second * second);
        EXPECT_EQ(table.inertias.size(), static_cast<std::size_t>(axes));
        EXPECT_EQ(ierr, 0);
    }
}

// No convergence stops after the decomposition with its IERR; refused
// storage before anything is computed. The axes asked for stay.
TEST(NscaResults, FailuresSayWhereTheyStopped) {
    Prepared p(4, 3, kFourByThree);
    p.d.weighted_profiles(2, 2) = std::numeric_limits<double>::quiet_NaN();
    const NscaResult diverged = p.solve(2);
    EXPECT_EQ(diverged.failure, NscaFailure::NotConverged);
    EXPECT_EQ(failure_code(diverged.failure), ErrorCode::SvdFailed);
    EXPECT_GE(diverged.ierr, 1);
    EXPECT_EQ(diverged.n_axes, 2);

    const Prepared q(4, 3, kFourByThree);
    set_storage_limit(64);  // below the 4 x 3 copy of the data
    const NscaResult refused = q.solve(2);
    set_storage_limit(0);
    EXPECT_EQ(refused.failure, NscaFailure::NoStorage);
    EXPECT_EQ(failure_code(refused.failure), ErrorCode::Memory);
    EXPECT_EQ(refused.n_axes, 2);
}

}  // namespace
}  // namespace marvist
