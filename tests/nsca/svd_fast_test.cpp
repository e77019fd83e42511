// The values-only pass and the replayed vectors against svd(): singular
// values and IERR to the bit, every vector to 1e-13 with svd()'s signs, and
// the fused reduction to the bit whatever the size of the team.
#include "nsca/svd_fast.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "nsca/svd.h"
#include "nsca/svd_steps.h"
#include "svd_cases.h"
#include "test_tables.h"

namespace marvist {
namespace {

using test::same_bits;

struct Full {
    Vector<double> W, work;
    Matrix<double> U, V;
    int ierr = -1;
};

Full full_svd(const Matrix<double>& A, int m, int n) {
    const int ld = std::max(m, n);
    Full r{Vector<double>(n), Vector<double>(n), Matrix<double>(ld, n), Matrix<double>(ld, n)};
    svd(ld, m, n, A, r.W, true, r.U, true, r.V, r.ierr, r.work);
    return r;
}

struct Case {
    const char* name;
    int m, n;
    Matrix<double> A;
};

// The edge matrices of the decomposition, random ones of many shapes and
// ranks, and one that needs more than 30 sweeps.
std::vector<Case> value_cases() {
    using test::matrix;
    std::vector<Case> cases = {
        {"3x2 example", 3, 2, matrix(3, 2, {1, 2, 3, 4, 5, 6})},
        {"diag(1, 3, 2)", 3, 3, matrix(3, 3, {1, 0, 0, 0, 3, 0, 0, 0, 2})},
        {"1x1 positive", 1, 1, matrix(1, 1, {2.5})},
        {"1x1 negative", 1, 1, matrix(1, 1, {-2.5})},
        {"1x1 zero", 1, 1, matrix(1, 1, {0.0})},
        {"zero 3x4", 3, 4, Matrix<double>(4, 4)},
        {"zero 4x3", 4, 3, Matrix<double>(4, 3)},
        {"needs more than 30 sweeps", 2, 2, test::needs_more_than_thirty_sweeps()},
    };
    const int shapes[][3] = {{2, 5, 0},   {5, 2, 0},   {7, 7, 0},    {12, 7, 3}, {7, 12, 3}, {20, 20, 1},  {40, 25, 0},
                             {25, 40, 0}, {33, 47, 10}, {1, 9, 0},   {9, 1, 0},  {97, 130, 0}, {130, 97, 0}, {64, 64, 63}};
    for (const auto& s : shapes)
        for (unsigned seed : {1u, 2u})
            cases.push_back({"random", s[0], s[1], test::random_matrix(s[0], s[1], s[2], seed * 100 + s[0])});
    return cases;
}

TEST(SvdFast, ValuesAndIerrAreSvdsToTheBit) {
    for (const Case& c : value_cases()) {
        const Full want = full_svd(c.A, c.m, c.n);
        for (int threads : {1, 3}) {
            SCOPED_TRACE(::testing::Message() << c.name << " " << c.m << "x" << c.n << " threads " << threads);
            SvdRecord record;
            ASSERT_TRUE(obtain_record(record, c.m, c.n));
            Vector<double> W(c.n), work(c.n);
            int ierr = -1;
            EXPECT_TRUE(svd_values(c.A, c.m, c.n, W, ierr, work, record, threads));
            EXPECT_EQ(ierr, want.ierr);
            EXPECT_TRUE(same_bits(W.data(), want.W.data(), c.n));
        }
    }
    EXPECT_EQ(full_svd(test::needs_more_than_thirty_sweeps(), 2, 2).ierr, 2);
}

// The fused reduction leaves the reflections, the bidiagonal form and the
// norm estimate of bidiagonalise(), whatever the size of the team; the
// larger shapes are shared among the team.
TEST(SvdFast, FusedReductionIsTheReductionToTheBitForAnyTeam) {
    const int shapes[][2] = {{300, 260}, {260, 300}, {521, 240}, {70, 900}, {31, 17}};
    for (const auto& s : shapes) {
        const int m = s[0], n = s[1];
        const Matrix<double> A = test::random_matrix(m, n, 0, static_cast<unsigned>(m * n));
        Matrix<double> U0(m, n);
        for (int j = 1; j <= n; ++j) std::copy_n(A.column(j), m, U0.column(j));
        Matrix<double> U = U0;
        Vector<double> W(n), work(n), rowsum(m);
        const double anorm = bidiagonalise(m, n, U, W, work, rowsum.data());
        for (int threads : {1, 2, 5}) {
            SCOPED_TRACE(::testing::Message() << m << "x" << n << " threads " << threads);
            Matrix<double> F = U0;
            Vector<double> FW(n), Fwork(n);
            EXPECT_EQ(bidiagonalise_fused(m, n, F, FW, Fwork, rowsum.data(), threads), anorm);
            EXPECT_TRUE(same_bits(F.data(), U.data(), std::int64_t{m} * n));
            EXPECT_TRUE(same_bits(FW.data(), W.data(), n));
            EXPECT_TRUE(same_bits(Fwork.data(), work.data(), n));
        }
    }
}

// Agreement in sign of every entry that is not zero to the tolerance.
bool same_signs(const double* a, const double* b, std::int64_t count) {
    for (std::int64_t k = 0; k < count; ++k) {
        if (std::fabs(b[k]) > 1e-13 && std::signbit(a[k]) != std::signbit(b[k])) return false;
    }
    return true;
}

// Every vector, replayed in eigsrt()'s order, is svd()'s and eigsrt()'s to
// 1e-13 with its signs, on tables that stress the replay (repeated values,
// where the basis must be svd()'s; near-ties; blocks; equal margins) and on
// larger random matrices with many sweeps and cancellations.
TEST(SvdFast, ReplayedVectorsAreSvdsInEigsrtsOrder) {
    std::vector<Case> cases;
    for (test::TableKind kind : test::kAllKinds) {
        for (unsigned seed = 1; seed <= 6; ++seed) {
            const Matrix<std::int32_t> table = test::make_table(kind, 2 + static_cast<int>(seed * 7 % 11),
                                                                2 + static_cast<int>(seed * 5 % 13), seed);
            cases.push_back({test::kind_name(kind), static_cast<int>(table.rows()), static_cast<int>(table.cols()),
                             test::nsca_matrix(table)});
        }
    }
    for (const auto& [m, n] : {std::pair{150, 90}, std::pair{90, 150}, std::pair{120, 120}})
        cases.push_back({"random", m, n, test::random_matrix(m, n, 0, static_cast<unsigned>(m + n))});

    for (const Case& c : cases) {
        const int m = c.m, n = c.n;
        SCOPED_TRACE(::testing::Message() << c.name << " " << m << "x" << n);
        Full want = full_svd(c.A, m, n);
        ASSERT_EQ(want.ierr, 0);
        eigsrt(want.U, want.W, want.V, std::max(m, n), m, n, n);

        SvdRecord record;
        ASSERT_TRUE(obtain_record(record, m, n));
        Vector<double> W(n), work(n), scratch(2 * n);
        Vector<int> order(n);
        int ierr = -1;
        ASSERT_TRUE(svd_values(c.A, m, n, W, ierr, work, record, 2));
        eigsrt_order(W, n, order);
        Matrix<double> U(m, n), V(n, n);
        replay_left(record, order, n, U, scratch.data());
        replay_right(record, order, n, V, scratch.data());
        for (int k = 1; k <= n; ++k) {
            EXPECT_EQ(W(order(k)), want.W(k)) << k;
            EXPECT_LE(test::max_difference(U.column(k), want.U.column(k), m), 1e-13) << k;
            EXPECT_LE(test::max_difference(V.column(k), want.V.column(k), n), 1e-13) << k;
            EXPECT_TRUE(same_signs(U.column(k), want.U.column(k), m)) << k;
            EXPECT_TRUE(same_signs(V.column(k), want.V.column(k), n)) << k;
        }
    }
}

}  // namespace
}  // namespace marvist
