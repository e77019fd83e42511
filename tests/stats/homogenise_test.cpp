// Homogenisation of the margins as values: the fitted table against the
// closed form of a 2 x 2 table and against the properties that define it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "base/storage.h"
#include "stats/homogenise.h"
#include "support/test_support.h"

namespace marvist {
namespace {

std::optional<HomogenisationResult> homogenise(int I, int J, const std::vector<std::int32_t>& by_rows) {
    return homogenise_margins(test::counts_of(I, J, by_rows), I, J);
}

// Rows (10, 20) and (30, 40) with all margins 50 and the odds ratio 2/3 kept:
// x / (50 - x) = sqrt(2/3) on the diagonal.
TEST(HomogenisationResults, TwoByTwoTableKeepsItsOddsRatio) {
    const auto r = homogenise(2, 2, {10, 20, 30, 40});
    ASSERT_TRUE(r);
    const double s = std::sqrt(2.0 / 3.0), x = 50 * s / (1 + s);
    EXPECT_TRUE(r->converged);
    EXPECT_EQ(r->sweeps.size(), 6u);
    EXPECT_LT(r->sweeps.back().row_deviation, kHomogeniseTolerance);
    EXPECT_GE(r->sweeps[4].row_deviation + r->sweeps[4].col_deviation, kHomogeniseTolerance);
    EXPECT_NEAR(r->fitted(1, 1), x, 1e-9);
    EXPECT_NEAR(r->fitted(2, 2), x, 1e-9);
    EXPECT_NEAR(r->fitted(1, 2), 50 - x, 1e-9);
    EXPECT_EQ((std::vector<std::int64_t>{r->rounded(1, 1), r->rounded(1, 2), r->rounded(2, 1), r->rounded(2, 2)}),
              (std::vector<std::int64_t>{22, 28, 28, 22}));
    EXPECT_EQ(r->row_target, 50.0);
    EXPECT_EQ(r->rounded_row_target, 50);
    EXPECT_EQ(r->rounded_col_target, 50);
    EXPECT_EQ(r->average_entry, 25);
}

// Every row total N/I, every column total N/J, and each cross-product ratio
// of the counts kept.
TEST(HomogenisationResults, MarginsAndCrossProductRatiosOfALargerTable) {
    const int I = 4, J = 5;
    const std::vector<std::int32_t> f{3, 7, 1, 9, 4, 12, 2, 8, 5, 6, 1, 1, 15, 3, 2, 6, 9, 4, 4, 11};
    const auto r = homogenise(I, J, f);
    ASSERT_TRUE(r);
    ASSERT_TRUE(r->converged);
    const double N = 113;
    for (int i = 1; i <= I; ++i) {
        double sum = 0;
        for (int j = 1; j <= J; ++j) sum += r->fitted(i, j);
        EXPECT_NEAR(sum, N / I, 1e-8);
    }
    for (int j = 1; j <= J; ++j) {
        double sum = 0;
        for (int i = 1; i <= I; ++i) sum += r->fitted(i, j);
        EXPECT_NEAR(sum, N / J, 1e-8);
    }
    const auto count = [&](int i, int j) {
        return static_cast<double>(f[static_cast<std::size_t>((i - 1) * J + j - 1)]);
    };
    for (int i = 2; i <= I; ++i) {
        for (int j = 2; j <= J; ++j) {
            const double kept = count(1, 1) * count(i, j) / (count(1, j) * count(i, 1));
            const double fitted = r->fitted(1, 1) * r->fitted(i, j) / (r->fitted(1, j) * r->fitted(i, 1));
            EXPECT_NEAR(fitted / kept, 1.0, 1e-9) << i << "," << j;
        }
    }
}

// A homogeneous table passes the test on its second sweep, unchanged; one
// whose zero cell keeps its margins apart stops after 201 sweeps.
TEST(HomogenisationResults, ConvergenceAndTheIterationLimit) {
    const auto even = homogenise(3, 2, {10, 0, 0, 10, 5, 5});
    ASSERT_TRUE(even);
    EXPECT_TRUE(even->converged);
    EXPECT_EQ(even->sweeps.size(), 2u);
    EXPECT_EQ(even->fitted(1, 1), 10.0);
    EXPECT_EQ(even->fitted(2, 1), 0.0);

    const auto stuck = homogenise(2, 2, {1, 0, 1, 1});
    ASSERT_TRUE(stuck);
    EXPECT_FALSE(stuck->converged);
    EXPECT_EQ(stuck->sweeps.size(), static_cast<std::size_t>(kHomogeniseIterationLimit + 1));
    EXPECT_EQ(stuck->fitted(1, 2), 0.0);
}

// N = 7 on 2 x 3: row target 3.5 rounds to 4, column target 7/3 to 2, the
// average entry 4/3 to 1. Storage refused: no result.
TEST(HomogenisationResults, RoundedTargetsAndRefusedStorage) {
    const auto r = homogenise(2, 3, {1, 2, 1, 1, 1, 1});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->rounded_row_target, 4);
    EXPECT_EQ(r->rounded_col_target, 2);
    EXPECT_EQ(r->average_entry, 1);

    set_storage_limit(16);  // a 2 x 2 table of reals does not fit
    const auto refused = homogenise(2, 2, {10, 20, 30, 40});
    set_storage_limit(0);
    EXPECT_FALSE(refused);
}

}  // namespace
}  // namespace marvist
