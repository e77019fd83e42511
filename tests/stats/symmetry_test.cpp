// The symmetric and skew-symmetric parts of a square table as values.
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "base/storage.h"
#include "stats/symmetry.h"
#include "support/test_support.h"

namespace marvist {
namespace {

// Rows (10, 20) and (30, 40): S = (10, 25; 25, 40), K = (0, -5; 5, 0),
// marginals 35 and 65.
TEST(SymmetryResults, TwoByTwoTableWorkedByHand) {
    const auto r = analyse_symmetry(test::counts_of(2, 2, {10, 20, 30, 40}), 2, 2);
    ASSERT_TRUE(r);
    EXPECT_EQ((std::vector<double>{r->symmetric(1, 1), r->symmetric(1, 2), r->symmetric(2, 1), r->symmetric(2, 2)}),
              (std::vector<double>{10, 25, 25, 40}));
    EXPECT_EQ((std::vector<double>{r->skew(1, 1), r->skew(1, 2), r->skew(2, 1), r->skew(2, 2)}),
              (std::vector<double>{0, -5, 5, 0}));
    EXPECT_EQ(r->marginals(1), 35.0);
    EXPECT_EQ(r->marginals(2), 65.0);
}

// F = S + K, S symmetric, K antisymmetric, and the marginal of i the mean of
// the i-th row and column totals of the counts.
TEST(SymmetryResults, PartsOfALargerTable) {
    const int I = 5;
    const std::vector<std::int32_t> f{3, 7, 1, 9, 4, 12, 2, 8, 5, 6, 1, 1, 15, 3, 2, 6, 9, 4, 4, 11, 0, 5, 3, 8, 1};
    const Matrix<std::int32_t> counts = test::counts_of(I, I, f);
    const auto r = analyse_symmetry(counts, I, I);
    ASSERT_TRUE(r);
    for (int i = 1; i <= I; ++i) {
        double row = 0, col = 0;
        for (int j = 1; j <= I; ++j) {
            EXPECT_EQ(r->symmetric(i, j) + r->skew(i, j), counts(i, j));
            EXPECT_EQ(r->symmetric(i, j), r->symmetric(j, i));
            EXPECT_EQ(r->skew(i, j), -r->skew(j, i));
            row += counts(i, j);
            col += counts(j, i);
        }
        EXPECT_EQ(r->marginals(i), (row + col) / 2);
    }
}

TEST(SymmetryResults, RefusedStorageAndTablesThatAreNotSquare) {
    set_storage_limit(16);  // a 2 x 2 table of reals does not fit
    EXPECT_FALSE(analyse_symmetry(test::counts_of(2, 2, {1, 2, 3, 4}), 2, 2));
    set_storage_limit(0);
    EXPECT_THROW(analyse_symmetry(test::counts_of(2, 3, {1, 2, 3, 4, 5, 6}), 2, 3), std::invalid_argument);
}

}  // namespace
}  // namespace marvist
