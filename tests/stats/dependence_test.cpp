// Marginals and dependence measures as values, against figures worked out by
// hand and against the textbook formulas, computed here cell by cell.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "base/storage.h"
#include "stats/dependence.h"
#include "stats/marginals.h"
#include "support/test_support.h"

namespace marvist {
namespace {

struct Table {
    int I, J;
    Matrix<std::int32_t> counts;
    Marginals marginals;
    std::optional<DependenceResult> result;

    Table(int rows, int cols, const std::vector<std::int32_t>& by_rows)
        : I(rows), J(cols), counts(test::counts_of(rows, cols, by_rows)) {
        EXPECT_TRUE(obtain_marginals(marginals, I, J));
        compute_marginals(counts, I, J, marginals);
        compute_profiles(counts, I, J, marginals);
        result = compute_dependence(counts, marginals, I, J);
    }
    double f(int i, int j) const { return counts(i, j); }
};

// Rows (10, 20) and (30, 40): N = 100, r = (0.3, 0.7), c = (0.4, 0.6).
// Centred profiles -0.05, 1/30 and 0.05, -1/30; B_a = 1/300, S_r = 0.42,
// so Tau_a = 1/126; B_b = 2/525, S_c = 0.48, Tau_b = 1/126 as for any 2 x 2
// table; expected counts 12, 18, 28, 42 give X^2 = 50/63.
TEST(DependenceResults, TwoByTwoTableWorkedByHand) {
    const Table t(2, 2, {10, 20, 30, 40});
    const Marginals& m = t.marginals;
    EXPECT_EQ(m.total_n, 100);
    EXPECT_EQ((std::vector<std::int64_t>{m.row_totals(1), m.row_totals(2), m.col_totals(1), m.col_totals(2)}),
              (std::vector<std::int64_t>{30, 70, 40, 60}));
    EXPECT_DOUBLE_EQ(m.row_margins(2), 0.7);
    EXPECT_DOUBLE_EQ(m.col_profiles(2, 1), 0.75);
    EXPECT_DOUBLE_EQ(m.row_profiles(1, 2), 2.0 / 3);

    ASSERT_TRUE(t.result);
    const DependenceResult& r = *t.result;
    EXPECT_NEAR(r.centred_profiles(1, 1), -0.05, 1e-15);
    EXPECT_NEAR(r.centred_profiles(2, 2), -1.0 / 30, 1e-15);
    EXPECT_NEAR(r.weighted_profiles(1, 2), 1.0 / 30 * std::sqrt(0.6), 1e-15);
    EXPECT_NEAR(r.numerator_a, 1.0 / 300, 1e-15);
    EXPECT_NEAR(r.numerator_b, 2.0 / 525, 1e-15);
    EXPECT_NEAR(r.s_r, 0.42, 1e-15);
    EXPECT_NEAR(r.s_c, 0.48, 1e-15);
    EXPECT_NEAR(r.tau_a, 1.0 / 126, 1e-15);
    EXPECT_NEAR(r.tau_b, 1.0 / 126, 1e-15);
    EXPECT_NEAR(r.chi_tau_a, 99.0 / 126, 1e-13);
    EXPECT_NEAR(r.chi_tau_b, 99.0 / 126, 1e-13);
    EXPECT_EQ(r.df, 1);
    EXPECT_NEAR(r.chi_square, 50.0 / 63, 1e-13);
    EXPECT_NEAR(r.total_inertia, 1.0 / 126, 1e-15);
    EXPECT_NEAR(r.rows_dependent.ms_total, 0.21, 1e-15);
    EXPECT_NEAR(r.rows_dependent.ms_between, 1.0 / 600, 1e-15);
    EXPECT_NEAR(r.rows_dependent.ms_within, 0.21 - 1.0 / 600, 1e-15);
    EXPECT_NEAR(r.cols_dependent.ms_total, 0.24, 1e-15);
    EXPECT_NEAR(r.cols_dependent.ms_between, 1.0 / 525, 1e-15);
    // Column 1 carries 0.4 * 0.005 of B_a, row 1 0.4 * 0.0025 + 0.6 / 900.
    EXPECT_NEAR(r.col_shares(1), 0.6, 1e-13);
    EXPECT_NEAR(r.col_shares(2), 0.4, 1e-13);
    EXPECT_NEAR(r.row_shares(1), 0.5, 1e-13);
    EXPECT_NEAR(r.row_parts(2), 1.0 / 600, 1e-15);
    EXPECT_FALSE(r.tau_a_zero);
}

// Goodman and Kruskal's tau from its usual form,
//   (sum_ij f_ij^2 / (N f_.j) - sum_i r_i^2) / (1 - sum_i r_i^2),
// Pearson's X^2 as N (sum_ij f_ij^2 / (f_i. f_.j) - 1), both ways round.
TEST(DependenceResults, FourByThreeTableAgreesWithTheTextbookFormulas) {
    const Table t(4, 3, {10, 2, 3, 4, 12, 5, 1, 3, 9, 6, 6, 2});
    const int I = t.I, J = t.J;
    std::vector<double> row(I + 1), col(J + 1);
    double N = 0;
    for (int i = 1; i <= I; ++i)
        for (int j = 1; j <= J; ++j) row[i] += t.f(i, j), col[j] += t.f(i, j), N += t.f(i, j);
    double sum_r2 = 0, sum_c2 = 0, by_cols = 0, by_rows = 0, pearson = 0;
    for (int i = 1; i <= I; ++i) sum_r2 += (row[i] / N) * (row[i] / N);
    for (int j = 1; j <= J; ++j) sum_c2 += (col[j] / N) * (col[j] / N);
    for (int i = 1; i <= I; ++i) {
        for (int j = 1; j <= J; ++j) {
            by_cols += t.f(i, j) * t.f(i, j) / (N * col[j]);
            by_rows += t.f(i, j) * t.f(i, j) / (N * row[i]);
            pearson += t.f(i, j) * t.f(i, j) / (row[i] * col[j]);
        }
    }
    const DependenceResult& r = *t.result;
    EXPECT_NEAR(r.tau_a, (by_cols - sum_r2) / (1 - sum_r2), 1e-14);
    EXPECT_NEAR(r.tau_b, (by_rows - sum_c2) / (1 - sum_c2), 1e-14);
    EXPECT_NEAR(r.chi_square, N * (pearson - 1), 1e-11);
    EXPECT_NEAR(r.numerator_a, 0.08849, 5e-6);  // the total inertia of the worked NSCA example
    EXPECT_EQ(r.df, 6);
    EXPECT_NEAR(r.chi_tau_a, (N - 1) * 3 * r.tau_a, 1e-12);
    // The shares add up to 1, the parts to the numerator they share out.
    double shares = 0, parts = 0;
    for (int j = 1; j <= J; ++j) shares += r.col_shares(j), parts += r.col_parts(j);
    EXPECT_NEAR(shares, 1.0, 1e-14);
    EXPECT_NEAR(parts, r.numerator_a, 1e-15);
    shares = parts = 0;
    for (int i = 1; i <= I; ++i) shares += r.row_shares(i), parts += r.row_parts(i);
    EXPECT_NEAR(shares, 1.0, 1e-14);
    EXPECT_NEAR(parts, r.numerator_a, 1e-15);
}

// Every column has the profile (1/3, 2/3): tau is 0, no contribution.
TEST(DependenceResults, EqualColumnProfilesGiveTauZero) {
    const Table t(2, 3, {1, 2, 3, 2, 4, 6});
    const DependenceResult& r = *t.result;
    EXPECT_TRUE(r.tau_a_zero);
    EXPECT_NEAR(r.tau_a, 0.0, 1e-17);
    EXPECT_NEAR(r.chi_square, 0.0, 1e-13);
    for (int j = 1; j <= 3; ++j) {
        EXPECT_EQ(r.col_shares(j), 0.0);
        EXPECT_EQ(r.col_parts(j), 0.0);
    }
}

// The storage a job may hold at once is checked array by array: the
// analysis of a table needs no array larger than its I x J reals, so it
// runs wherever those fit, however few the rows.
TEST(DependenceResults, NoArrayLargerThanTheTable) {
    for (const auto& [I, J] : {std::pair{2, 9}, std::pair{3, 40}, std::pair{40, 3}}) {
        std::vector<std::int32_t> by_rows;
        for (int k = 0; k < I * J; ++k) by_rows.push_back(1 + k % 7);
        set_storage_limit(static_cast<std::uint64_t>(I) * J * sizeof(double));
        const Table t(I, J, by_rows);
        set_storage_limit(0);
        EXPECT_TRUE(t.result.has_value()) << I << " x " << J;
    }
}

}  // namespace
}  // namespace marvist
