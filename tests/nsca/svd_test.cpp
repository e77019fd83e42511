#include "nsca/svd.h"

#include <gtest/gtest.h>

#include <Eigen/SVD>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <span>
#include <stdexcept>
#include <vector>

#include "listing/storage.h"
#include "nsca/svd_reference.h"

namespace marvist {
namespace {

struct Result {
    Vector<double> W, work;
    Matrix<double> U, V;
    int ierr = -1;
};

// Decomposes the first m rows and n columns of A, with ld = max(m, n).
Result decompose(const Matrix<double>& A, int m, int n, bool sort = false) {
    const int ld = std::max(m, n);
    Result r{Vector<double>(n), Vector<double>(ld), Matrix<double>(ld, n), Matrix<double>(ld, n)};
    svd(ld, m, n, A, r.W, true, r.U, true, r.V, r.ierr, r.work);
    if (sort) eigsrt(r.U, r.W, r.V, ld, m, n, n);
    return r;
}

Matrix<double> from_rows(int m, int n, std::vector<double> values) {
    Matrix<double> A(std::max(m, n), n);
    for (int i = 1; i <= m; ++i)
        for (int j = 1; j <= n; ++j) A(i, j) = values[static_cast<std::size_t>((i - 1) * n + j - 1)];
    return A;
}

// Entries uniform in [-1, 1]; with rank > 0 and below min(m, n), a product of
// an m x rank and a rank x n factor. Special kinds: rank -1, zeros; -2, entries
// from {-1, 0, -0, 1}, so that signed zeros meet the sign tests; -3, ones on the
// diagonal and the super-diagonal, whose equal values meet the shift's sign test.
Matrix<double> random_matrix(int m, int n, int rank, unsigned seed) {
    std::mt19937_64 gen(seed);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    Matrix<double> A(std::max(m, n), n);
    if (rank == -1) return A;
    if (rank == -2) {
        std::uniform_int_distribution<int> d(0, 3);
        const double pick[] = {-1.0, 0.0, -0.0, 1.0};
        for (int j = 1; j <= n; ++j)
            for (int i = 1; i <= m; ++i) A(i, j) = pick[d(gen)];
        return A;
    }
    if (rank == -3) {
        for (int i = 1; i <= m; ++i)
            for (int j = i; j <= std::min(n, i + 1); ++j) A(i, j) = 1.0;
        return A;
    }
    if (rank > 0 && rank < std::min(m, n)) {
        Matrix<double> B(m, rank), C(rank, n);
        for (double& x : std::span(B.data(), static_cast<std::size_t>(m * rank))) x = u(gen);
        for (double& x : std::span(C.data(), static_cast<std::size_t>(rank * n))) x = u(gen);
        for (int i = 1; i <= m; ++i)
            for (int j = 1; j <= n; ++j)
                for (int t = 1; t <= rank; ++t) A(i, j) += B(i, t) * C(t, j);
    } else {
        for (int j = 1; j <= n; ++j)
            for (int i = 1; i <= m; ++i) A(i, j) = u(gen);
    }
    return A;
}

bool same_bits(const double* a, const double* b, std::int64_t count) {
    return std::memcmp(a, b, static_cast<std::size_t>(count) * sizeof(double)) == 0;
}

TEST(SvdExamples, DiagonalMatrixGivesMinusIdentityAndSortsWithItsColumns) {
    const Matrix<double> A = from_rows(3, 3, {1, 0, 0, 0, 3, 0, 0, 0, 2});
    Result r = decompose(A, 3, 3);
    EXPECT_EQ(r.ierr, 0);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(r.W(i), A(i, i));
        for (int j = 1; j <= 3; ++j) {
            EXPECT_EQ(r.U(i, j), i == j ? -1.0 : 0.0) << i << "," << j;
            EXPECT_EQ(r.V(i, j), i == j ? -1.0 : 0.0) << i << "," << j;
        }
    }
    eigsrt(r.U, r.W, r.V, 3, 3, 3, 3);
    const int from[] = {2, 3, 1};  // sorted column k came from column from[k-1]
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(r.W(k), A(from[k - 1], from[k - 1]));
        EXPECT_EQ(r.U(from[k - 1], k), -1.0);
        EXPECT_EQ(r.V(from[k - 1], k), -1.0);
    }
}

TEST(SvdExamples, NegativeDiagonalEntryFlipsTheColumnOfVOnly) {
    const Result r = decompose(from_rows(3, 3, {1, 0, 0, 0, -3, 0, 0, 0, 2}), 3, 3);
    EXPECT_EQ(r.W(2), 3.0);
    EXPECT_EQ(r.U(2, 2), -1.0);
    EXPECT_EQ(r.V(2, 2), 1.0);
    EXPECT_EQ(r.V(1, 1), -1.0);
}

TEST(SvdExamples, OneByOne) {
    const double x[] = {2.5, -2.5, 0.0};
    const double u[] = {-1.0, -1.0, 1.0};
    const double v[] = {-1.0, 1.0, 1.0};
    for (int t = 0; t < 3; ++t) {
        const Result r = decompose(from_rows(1, 1, {x[t]}), 1, 1);
        EXPECT_EQ(r.ierr, 0);
        EXPECT_EQ(r.W(1), std::fabs(x[t]));
        EXPECT_EQ(r.U(1, 1), u[t]) << x[t];
        EXPECT_EQ(r.V(1, 1), v[t]) << x[t];
    }
}

TEST(SvdExamples, ThreeByTwoGivesSmallerValueFirst) {
    const Result r = decompose(from_rows(3, 2, {1, 2, 3, 4, 5, 6}), 3, 2);
    EXPECT_EQ(r.ierr, 0);
    EXPECT_NEAR(r.W(1), 0.514301, 5e-7);
    EXPECT_NEAR(r.W(2), 9.525518, 5e-7);
}

TEST(SvdExamples, ZeroMatrixGivesIdentityColumns) {
    for (auto [m, n] : {std::pair{3, 4}, std::pair{4, 3}}) {
        const Result r = decompose(Matrix<double>(std::max(m, n), n), m, n);
        EXPECT_EQ(r.ierr, 0);
        for (int j = 1; j <= n; ++j) {
            EXPECT_EQ(r.W(j), 0.0);
            for (int i = 1; i <= m; ++i) EXPECT_EQ(r.U(i, j), i == j ? 1.0 : 0.0);
            for (int i = 1; i <= n; ++i) EXPECT_EQ(r.V(i, j), i == j ? 1.0 : 0.0);
        }
    }
}

TEST(SvdExamples, WeightedCentredProfilesOfAFourByThreeTable) {
    const double counts[4][3] = {{10, 2, 3}, {4, 12, 5}, {1, 3, 9}, {6, 6, 2}};
    double row[4] = {}, col[3] = {}, total = 0.0;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 3; ++j) row[i] += counts[i][j], col[j] += counts[i][j], total += counts[i][j];
    Matrix<double> A(4, 3);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 3; ++j)
            A(i + 1, j + 1) = (counts[i][j] / col[j] - row[i] / total) * std::sqrt(col[j] / total);
    const Result r = decompose(A, 4, 3, true);
    EXPECT_EQ(r.ierr, 0);
    EXPECT_NEAR(r.W(1), 0.23165, 5e-6);
    EXPECT_NEAR(r.W(2), 0.18663, 5e-6);
    EXPECT_NEAR(r.W(3), 0.0, 1e-12);
}

TEST(SvdExamples, NotANumberStopsAfterThirtySweeps) {
    Matrix<double> A = random_matrix(3, 3, 0, 7);
    A(2, 2) = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(decompose(A, 3, 3).ierr, 3);
}

TEST(SvdExamples, RejectsArraysSmallerThanTheirDimensions) {
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
        EXPECT_EQ(U(1, k), 10 * f + 1);
        EXPECT_EQ(U(2, k), 10 * f + 2);
        EXPECT_EQ(U(3, k), 10 * k + 3);  // beyond m: stays
        EXPECT_EQ(V(1, k), 10 * f + 1);
        EXPECT_EQ(V(2, k), 10 * k + 2);  // beyond n: stays
    }
}

struct Shape {
    int m, n, rank;
};
const Shape kShapes[] = {{1, 1, 0},  {1, 6, 0},   {6, 1, 0},   {2, 2, 0},  {5, 3, 0},  {3, 5, 0},
                         {8, 8, 0},  {12, 7, 3},  {7, 12, 3},  {10, 10, 4}, {20, 20, 1}, {40, 25, 0},
                         {25, 40, 0}, {60, 60, 0}, {33, 47, 10}, {47, 33, 10}, {4, 6, -1}, {6, 4, -1},
                         {5, 5, -2}, {9, 6, -2}, {6, 9, -2}, {12, 12, -2}, {3, 3, -3}, {6, 6, -3},
                         {4, 7, -3}, {130, 97, 0}};

// The optimised loops must reproduce the plain transcription to the last bit,
// also when the scratch storage is refused and the fallback loops run.
TEST(SvdProperties, BitIdenticalToPlainTranscription) {
    for (bool refuse_scratch : {false, true}) {
        set_storage_limit(refuse_scratch ? 1 : 0);
        for (const Shape& s : kShapes) {
            for (int want = 0; want < 4; ++want) {
                const bool want_u = want & 1, want_v = want & 2;
                const int ld = std::max(s.m, s.n);
                const Matrix<double> A = random_matrix(s.m, s.n, s.rank, 100 + s.m * s.n);
                Result a{Vector<double>(s.n), Vector<double>(ld), Matrix<double>(ld, s.n), Matrix<double>(ld, s.n)};
                Result b{Vector<double>(s.n), Vector<double>(ld), Matrix<double>(ld, s.n), Matrix<double>(ld, s.n)};
                svd(ld, s.m, s.n, A, a.W, want_u, a.U, want_v, a.V, a.ierr, a.work);
                test::reference_svd(s.m, s.n, A, b.W, want_u, b.U, want_v, b.V, b.ierr, b.work);
                SCOPED_TRACE(::testing::Message() << s.m << "x" << s.n << " want " << want << " refuse " << refuse_scratch);
                EXPECT_EQ(a.ierr, b.ierr);
                EXPECT_TRUE(same_bits(a.W.data(), b.W.data(), s.n));
                EXPECT_TRUE(same_bits(a.U.data(), b.U.data(), ld * s.n));
                EXPECT_TRUE(same_bits(a.V.data(), b.V.data(), ld * s.n));
            }
        }
    }
    set_storage_limit(0);
}

TEST(SvdProperties, FactorsReproduceTheMatrixAndAgreeWithEigen) {
    for (const Shape& s : kShapes) {
        for (unsigned seed : {1u, 2u}) {
            const int m = s.m, n = s.n, mn = std::min(m, n);
            const Matrix<double> A = random_matrix(m, n, s.rank, seed * 1000 + m);
            Result r = decompose(A, m, n);
            SCOPED_TRACE(::testing::Message() << m << "x" << n << " rank " << s.rank << " seed " << seed);
            ASSERT_EQ(r.ierr, 0);
            eigsrt(r.U, r.W, r.V, std::max(m, n), m, n, n);
            // When m < n the n - m vanishing values stand last, their columns of U zero.
            for (int k = m + 1; k <= n; ++k)
                for (int i = 1; i <= m; ++i) EXPECT_NEAR(r.U(i, k), 0.0, 1e-14) << i << "," << k;

            Eigen::MatrixXd E(m, n);
            for (int i = 1; i <= m; ++i)
                for (int j = 1; j <= n; ++j) E(i - 1, j - 1) = A(i, j);
            const Eigen::VectorXd sv = Eigen::JacobiSVD<Eigen::MatrixXd>(E).singularValues();
            const double norm = std::max(sv.size() > 0 ? sv(0) : 0.0, 1e-300);
            for (int k = 1; k <= n; ++k) {
                EXPECT_GE(r.W(k), 0.0);
                if (k > 1) {
                    EXPECT_GE(r.W(k - 1), r.W(k));
                }
                EXPECT_NEAR(r.W(k), k <= mn ? sv(k - 1) : 0.0, 1e-12 * norm) << k;
            }
            for (int p = 1; p <= n; ++p) {
                for (int q = p; q <= n; ++q) {
                    double uu = 0.0, vv = 0.0;
                    for (int i = 1; i <= m; ++i) uu += r.U(i, p) * r.U(i, q);
                    for (int i = 1; i <= n; ++i) vv += r.V(i, p) * r.V(i, q);
                    const double unit = (p == q && p <= mn) ? 1.0 : 0.0;
                    EXPECT_NEAR(uu, unit, 1e-12) << p << "," << q;
                    EXPECT_NEAR(vv, p == q ? 1.0 : 0.0, 1e-12) << p << "," << q;
                }
            }
            for (int i = 1; i <= m; ++i) {
                for (int j = 1; j <= n; ++j) {
                    double x = 0.0;
                    for (int k = 1; k <= n; ++k) x += r.U(i, k) * r.W(k) * r.V(j, k);
                    EXPECT_NEAR(x, A(i, j), 1e-12 * norm) << i << "," << j;
                }
            }
        }
    }
}

}  // namespace
}  // namespace marvist
