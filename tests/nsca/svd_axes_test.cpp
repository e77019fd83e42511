// decompose_sorted(): which tables take the full decomposition, storage
// refused on either path, and a decomposition that does not converge.
#include "nsca/svd_axes.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/storage.h"
#include "nsca/svd_fast.h"
#include "svd_cases.h"
#include "test_tables.h"

namespace marvist {
namespace {

using test::same_bits;

struct Sorted {
    SortedSvd svd;
    Vector<double> W, work;
    Matrix<double> F, G;
    int ierr = -1;
    bool stored = false;
};

// decompose_sorted() with `axes` asked for, and the first K vectors.
Sorted sorted(const Matrix<double>& A, int m, int n, SvdPath path, int axes, int K) {
    Sorted s{SortedSvd{}, Vector<double>(n), Vector<double>(n), Matrix<double>(m, K), Matrix<double>(n, K)};
    s.stored = decompose_sorted(A, s.W, s.work, std::max(m, n), m, n, axes, path, s.svd, s.ierr);
    if (s.stored && s.ierr == 0) copy_leading_vectors(s.svd, K, s.F, s.G);
    return s;
}

// Which tables take the full decomposition: every usable axis listed,
// listed values equal exactly or to rounding (circulant tables, sums of
// permutation matrices), listed vectors with entries equal in magnitude or
// zero (mirrored or repeated rows and columns). Elsewhere the fast path
// gives svd()'s values and the listed vectors to 1e-13; where it gives way,
// the full path's to the bit.
TEST(SvdAxes, TablesWhoseFiguresCouldSitOnTiesTakeTheFullPath) {
    using test::TableKind;
    const struct {
        TableKind kind;
        int I, J, axes;
        unsigned seed;
        SvdPath expected;
    } cases[] = {
        {TableKind::Random, 9, 7, 2, 5, SvdPath::Fast},
        {TableKind::Random, 9, 7, 6, 5, SvdPath::Full},  // all 6 usable axes listed
        {TableKind::Random, 3, 12, 2, 5, SvdPath::Full},
        {TableKind::EqualMargins, 12, 12, 2, 5, SvdPath::Fast},
        {TableKind::Symmetric, 11, 11, 3, 5, SvdPath::Fast},
        {TableKind::BlockDiagonal, 12, 9, 3, 5, SvdPath::Fast},
        {TableKind::NearTie, 10, 8, 2, 5, SvdPath::Fast},
        {TableKind::Circulant, 9, 9, 2, 5, SvdPath::Full},
        {TableKind::Circulant, 10, 10, 3, 5, SvdPath::Full},
        // Five values equal in exact arithmetic, apart by up to 8e-16 of the
        // largest as computed; figures such as 0.1875 on a tie.
        {TableKind::EqualMargins, 26, 26, 5, 194, SvdPath::Full},
        // Rows and columns mirrored: the first two axes hold the exact
        // antisymmetric part of the profiles, with figures on ties.
        {TableKind::Centrosymmetric, 4, 28, 2, 251, SvdPath::Full},
        {TableKind::Duplicates, 9, 8, 2, 5, SvdPath::Full},
    };
    for (const auto& c : cases) {
        const Matrix<std::int32_t> table = test::make_table(c.kind, c.I, c.J, c.seed);
        const int m = static_cast<int>(table.rows()), n = static_cast<int>(table.cols());
        const Matrix<double> A = test::nsca_matrix(table);
        SCOPED_TRACE(::testing::Message() << test::kind_name(c.kind) << " " << m << "x" << n << " axes " << c.axes);
        const int K = std::min(c.axes, std::min(m, n) - 1);
        const Sorted want = sorted(A, m, n, SvdPath::Full, c.axes, K);
        const Sorted got = sorted(A, m, n, SvdPath::Fast, c.axes, K);
        ASSERT_TRUE(want.stored && got.stored);
        EXPECT_EQ(got.svd.path, c.expected);
        EXPECT_TRUE(same_bits(got.W.data(), want.W.data(), n));
        if (c.expected == SvdPath::Full) {
            EXPECT_TRUE(same_bits(got.F.data(), want.F.data(), std::int64_t{m} * K));
            EXPECT_TRUE(same_bits(got.G.data(), want.G.data(), std::int64_t{n} * K));
        } else {
            EXPECT_LE(test::max_difference(got.F.data(), want.F.data(), std::int64_t{m} * K), 1e-13);
            EXPECT_LE(test::max_difference(got.G.data(), want.G.data(), std::int64_t{n} * K), 1e-13);
        }
    }
}

// A record refused its storage gives way to the full decomposition; arrays
// the full decomposition could not have fail on both paths alike.
TEST(SvdAxes, RefusedStorage) {
    const Matrix<double> A = test::random_matrix(40, 30, 0, 9);
    const Sorted want = sorted(A, 40, 30, SvdPath::Full, 2, 2);
    set_storage_limit(40 * 30 * sizeof(double));  // svd()'s arrays fit, a chunk of rotations does not
    const Sorted refused = sorted(A, 40, 30, SvdPath::Fast, 2, 2);
    set_storage_limit(40 * 30 * sizeof(double) - 1);
    const Sorted neither[] = {sorted(A, 40, 30, SvdPath::Fast, 2, 2), sorted(A, 40, 30, SvdPath::Full, 2, 2)};
    set_storage_limit(0);
    ASSERT_TRUE(refused.stored);
    EXPECT_EQ(refused.svd.path, SvdPath::Full);
    EXPECT_TRUE(same_bits(refused.F.data(), want.F.data(), 40 * 2));
    EXPECT_TRUE(same_bits(refused.G.data(), want.G.data(), 30 * 2));
    EXPECT_FALSE(neither[0].stored);
    EXPECT_FALSE(neither[1].stored);
}

// A table whose rotation record is large enough to have its right vectors
// replayed on a second thread: the vectors are those of replaying both sides
// in turn on one thread, to the bit.
TEST(SvdAxes, VectorsReplayedOnTwoThreadsAreThoseOfOne) {
    const int m = 620, n = 580, K = 3;
    const Matrix<double> A = test::random_matrix(m, n, 0, 31);
    const Sorted shared = sorted(A, m, n, SvdPath::Fast, K, K);
    ASSERT_TRUE(shared.stored);
    ASSERT_EQ(shared.svd.path, SvdPath::Fast);

    SvdRecord record;
    ASSERT_TRUE(obtain_record(record, m, n));
    Vector<double> W(n), work(n), scratch(2 * std::max(m, n));
    Vector<int> order(n);
    int ierr = -1;
    ASSERT_TRUE(svd_values(A, m, n, W, ierr, work, record, 1));
    ASSERT_GE(record.stored, kSharedReplay);
    eigsrt_order(W, n, order);
    Matrix<double> U(m, K), V(n, K);
    replay_left(record, order, K, U, scratch.data());
    replay_right(record, order, K, V, scratch.data());
    EXPECT_TRUE(same_bits(shared.F.data(), U.data(), std::int64_t{m} * K));
    EXPECT_TRUE(same_bits(shared.G.data(), V.data(), std::int64_t{n} * K));
}

// No convergence: the fast path stops with svd()'s IERR and values.
TEST(SvdAxes, NonConvergenceGivesSvdsIerr) {
    const Matrix<double> B = test::needs_more_than_thirty_sweeps();
    const Sorted full = sorted(B, 2, 2, SvdPath::Full, 1, 1), fast = sorted(B, 2, 2, SvdPath::Fast, 1, 1);
    EXPECT_EQ(full.ierr, 2);
    EXPECT_EQ(fast.ierr, 2);
    EXPECT_EQ(fast.svd.path, SvdPath::Fast);
    EXPECT_TRUE(same_bits(fast.W.data(), full.W.data(), 2));
}

}  // namespace
}  // namespace marvist
