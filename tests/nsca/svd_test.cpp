#include "nsca/svd.h"

#include <gtest/gtest.h>

#include <Eigen/SVD>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <stdexcept>

#include "base/storage.h"

namespace marvist {
namespace {

struct Result {
    Vector<double> W, work;
    Matrix<double> U, V;
    int ierr = -1;
};

// The first rows and columns of M as a dense matrix.
Eigen::MatrixXd dense(const Matrix<double>& M, int rows, int cols) {
    return Eigen::Map<const Eigen::MatrixXd, 0, Eigen::OuterStride<>>(M.data(), rows, cols,
                                                                       Eigen::OuterStride<>(M.rows()));
}
Eigen::VectorXd dense(const Vector<double>& W) { return Eigen::Map<const Eigen::VectorXd>(W.data(), W.size()); }

// Decomposes the m x n matrix E held in arrays of ld = max(m, n) rows.
Result decompose(const Eigen::MatrixXd& E, bool want_u = true, bool want_v = true) {
    const int m = static_cast<int>(E.rows()), n = static_cast<int>(E.cols()), ld = std::max(m, n);
    Matrix<double> A(ld, n);
    for (int j = 1; j <= n; ++j)
        for (int i = 1; i <= m; ++i) A(i, j) = E(i - 1, j - 1);
    Result r{Vector<double>(n), Vector<double>(ld), Matrix<double>(ld, n), Matrix<double>(ld, n)};
    svd(ld, m, n, A, r.W, want_u, r.U, want_v, r.V, r.ierr, r.work);
    return r;
}

// Entries uniform in [-1, 1]; with 0 < rank < min(m, n), a product of an
// m x rank and a rank x n factor. Special kinds: rank -2, entries from
// {-1, 0, -0, 1}, so that signed zeros meet the sign tests; -3, ones on the
// diagonal and the super-diagonal, whose equal values meet the shift's sign test.
Eigen::MatrixXd random_matrix(int m, int n, int rank, unsigned seed) {
    std::mt19937_64 gen(seed);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    std::uniform_int_distribution<int> d(0, 3);
    const double pick[] = {-1.0, 0.0, -0.0, 1.0};
    const auto uniform = [&](int rows, int cols) {
        Eigen::MatrixXd X(rows, cols);
        for (double& x : X.reshaped()) x = u(gen);
        return X;
    };
    if (rank > 0 && rank < std::min(m, n)) return uniform(m, rank) * uniform(rank, n);
    Eigen::MatrixXd E = uniform(m, n);
    if (rank == -2)
        for (double& x : E.reshaped()) x = pick[d(gen)];
    if (rank == -3) {
        E.setZero();
        E.diagonal().setOnes();
        E.diagonal(1).setOnes();
    }
    return E;
}

// The signs the decomposition gives: a diagonal matrix yields -I on both
// sides, a negative entry a positive value with only its column of V turned;
// a zero matrix gives identity columns.
TEST(SvdExamples, SignsOfDiagonalAndZeroMatrices) {
    Result r = decompose(Eigen::Matrix3d(Eigen::Vector3d(1, -3, 2).asDiagonal()));
    EXPECT_EQ(r.ierr, 0);
    EXPECT_TRUE(dense(r.W) == Eigen::Vector3d(1, 3, 2)) << dense(r.W);
    EXPECT_TRUE(dense(r.U, 3, 3) == -Eigen::MatrixXd::Identity(3, 3)) << dense(r.U, 3, 3);
    EXPECT_TRUE(dense(r.V, 3, 3) == Eigen::Matrix3d(Eigen::Vector3d(-1, 1, -1).asDiagonal())) << dense(r.V, 3, 3);
    for (auto [m, n] : {std::pair{3, 4}, std::pair{4, 3}}) {
        const Result z = decompose(Eigen::MatrixXd::Zero(m, n));
        EXPECT_EQ(z.ierr, 0);
        EXPECT_TRUE(dense(z.W).isZero(0.0));
        EXPECT_TRUE(dense(z.U, m, n) == Eigen::MatrixXd::Identity(m, n)) << dense(z.U, m, n);
        EXPECT_TRUE(dense(z.V, n, n) == Eigen::MatrixXd::Identity(n, n)) << dense(z.V, n, n);
    }
}

TEST(SvdExamples, NonConvergenceAndArraysSmallerThanTheirDimensions) {
    Eigen::MatrixXd N = random_matrix(3, 3, 0, 7);
    N(1, 1) = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(decompose(N).ierr, 3);  // stops after thirty sweeps

    Matrix<double> A(3, 3), U(3, 3), V(2, 3);
    Vector<double> W(3), work(3);
    int ierr = 0;
    EXPECT_THROW(svd(3, 3, 3, A, W, true, U, true, V, ierr, work), std::invalid_argument);
    EXPECT_THROW(svd(2, 3, 3, A, W, true, U, false, V, ierr, work), std::invalid_argument);
    EXPECT_NO_THROW(svd(3, 3, 3, A, W, true, U, false, V, ierr, work));
    EXPECT_THROW(eigsrt(U, W, V, 3, 3, 3, 3), std::invalid_argument);
    EXPECT_NO_THROW(eigsrt(U, W, V, 3, 3, 2, 3));
}

TEST(Eigsrt, EqualValuesKeepOrderAndOnlyRowsOneToMMove) {
    Matrix<double> U(3, 4), V(3, 4);
    Vector<double> W(4);
    const double values[] = {1, 2, 2, 1};
    for (int j = 1; j <= 4; ++j) {
        W(j) = values[j - 1];
        for (int i = 1; i <= 3; ++i) U(i, j) = V(i, j) = 10 * j + i;
    }
    eigsrt(U, W, V, 3, 2, 1, 4);
    const int from[] = {2, 3, 1, 4};
    for (int k = 1; k <= 4; ++k) {
        const int f = from[k - 1];
        EXPECT_EQ(W(k), values[f - 1]);
        // Rows 1..m of U and 1..n of V move with their value; the rest stay.
        EXPECT_EQ((std::vector<double>{U(1, k), U(2, k), U(3, k), V(1, k), V(2, k)}),
                  (std::vector<double>{10. * f + 1, 10. * f + 2, 10. * k + 3, 10. * f + 1, 10. * k + 2})) << k;
    }
}

struct Shape {
    int m, n, rank;
};
const Shape kShapes[] = {{1, 1, 0},   {1, 6, 0},   {6, 1, 0},   {2, 2, 0},    {5, 3, 0},    {3, 5, 0},  {8, 8, 0},
                         {12, 7, 3},  {7, 12, 3},  {10, 10, 4}, {20, 20, 1},  {40, 25, 0},  {25, 40, 0},
                         {33, 47, 10}, {47, 33, 10}, {5, 5, -2}, {9, 6, -2},  {6, 9, -2},   {3, 3, -3}, {6, 6, -3},
                         {4, 7, -3},  {130, 97, 0}};

// The loops that use scratch storage and those that run when it is refused
// must give the same figures to the last bit.
TEST(SvdProperties, RefusedScratchGivesTheSameBits) {
    for (const Shape& s : kShapes) {
        const Eigen::MatrixXd A = random_matrix(s.m, s.n, s.rank, 100 + s.m * s.n);
        const std::size_t bytes = static_cast<std::size_t>(std::max(s.m, s.n) * s.n) * sizeof(double);
        for (int want = 0; want < 4; ++want) {
            const Result fast = decompose(A, want & 1, want & 2);
            set_storage_limit(1);
            const Result slow = decompose(A, want & 1, want & 2);
            set_storage_limit(0);
            SCOPED_TRACE(::testing::Message() << s.m << "x" << s.n << " want " << want);
            EXPECT_EQ(fast.ierr, slow.ierr);
            EXPECT_EQ(std::memcmp(fast.W.data(), slow.W.data(), static_cast<std::size_t>(s.n) * sizeof(double)), 0);
            EXPECT_EQ(std::memcmp(fast.U.data(), slow.U.data(), bytes), 0);
            EXPECT_EQ(std::memcmp(fast.V.data(), slow.V.data(), bytes), 0);
        }
    }
}

TEST(SvdProperties, FactorsReproduceTheMatrixAndAgreeWithEigen) {
    for (const Shape& s : kShapes) {
        for (unsigned seed : {1u, 2u}) {
            const int m = s.m, n = s.n, mn = std::min(m, n);
            const Eigen::MatrixXd E = random_matrix(m, n, s.rank, seed * 1000 + m);
            Result r = decompose(E);
            SCOPED_TRACE(::testing::Message() << m << "x" << n << " rank " << s.rank << " seed " << seed);
            ASSERT_EQ(r.ierr, 0);
            eigsrt(r.U, r.W, r.V, std::max(m, n), m, n, n);
            const Eigen::MatrixXd U = dense(r.U, m, n), V = dense(r.V, n, n);
            const Eigen::VectorXd W = dense(r.W), sv = Eigen::JacobiSVD<Eigen::MatrixXd>(E).singularValues();
            const double norm = std::max(sv(0), 1e-300);
            for (int k = 0; k < n; ++k) {
                EXPECT_GE(W(k), 0.0);
                if (k > 0) {
                    EXPECT_GE(W(k - 1), W(k));
                }
                EXPECT_NEAR(W(k), k < mn ? sv(k) : 0.0, 1e-12 * norm) << k;
            }
            // When m < n the n - m vanishing values stand last, their columns of U zero.
            Eigen::MatrixXd unit = Eigen::MatrixXd::Zero(n, n);
            unit.topLeftCorner(mn, mn).setIdentity();
            if (n > m) {
                EXPECT_LE(U.rightCols(n - m).cwiseAbs().maxCoeff(), 1e-14);
            }
            EXPECT_LE((U.transpose() * U - unit).cwiseAbs().maxCoeff(), 1e-12);
            EXPECT_LE((V.transpose() * V - Eigen::MatrixXd::Identity(n, n)).cwiseAbs().maxCoeff(), 1e-12);
            EXPECT_LE((U * W.asDiagonal() * V.transpose() - E).cwiseAbs().maxCoeff(), 1e-12 * norm);
        }
    }
}

}  // namespace
}  // namespace marvist
