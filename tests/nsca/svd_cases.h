// Matrices and comparisons shared by the tests of the decomposition's paths.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <random>
#include <vector>

#include "base/matrix.h"

namespace marvist::test {

// The m x n matrix given row by row, in an array of max(m, n) rows.
inline Matrix<double> matrix(int m, int n, std::initializer_list<double> by_rows) {
    Matrix<double> A(std::max(m, n), n);
    auto it = by_rows.begin();
    for (int i = 1; i <= m; ++i)
        for (int j = 1; j <= n; ++j) A(i, j) = *it++;
    return A;
}

// Entries uniform in [-1, 1], in an array of max(m, n) rows; with
// 0 < rank < min(m, n), the product of an m x rank and a rank x n factor.
inline Matrix<double> random_matrix(int m, int n, int rank, unsigned seed) {
    std::mt19937_64 gen(seed);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    Matrix<double> A(std::max(m, n), n);
    if (rank > 0 && rank < std::min(m, n)) {
        Matrix<double> L(m, rank), R(rank, n);
        for (double* x = L.data(); x != L.data() + m * rank; ++x) *x = u(gen);
        for (double* x = R.data(); x != R.data() + rank * n; ++x) *x = u(gen);
        for (int j = 1; j <= n; ++j)
            for (int i = 1; i <= m; ++i) {
                double s = 0.0;
                for (int k = 1; k <= rank; ++k) s += L(i, k) * R(k, j);
                A(i, j) = s;
            }
    } else {
        for (int j = 1; j <= n; ++j)
            for (int i = 1; i <= m; ++i) A(i, j) = u(gen);
    }
    return A;
}

// 2^-538·[[1, -1], [-2, -1]]. In the shift of the QR sweep the product
// 2·h·y of the off-diagonal and diagonal elements underflows to zero, so
// the sweeps run unshifted and shrink the off-diagonal element by only
// (0.64)^2 each; from 2^-540 down to the negligible 2^-590 that takes about
// 38 sweeps, more than the 30 allowed: svd() gives IERR = 2. Every figure
// stays finite throughout.
inline Matrix<double> needs_more_than_thirty_sweeps() {
    const double t = std::ldexp(1.0, -538);
    return matrix(2, 2, {t, -t, -2 * t, -t});
}

inline bool same_bits(const double* a, const double* b, std::int64_t count) {
    return std::memcmp(a, b, static_cast<std::size_t>(count) * sizeof(double)) == 0;
}

// The largest difference between count entries.
inline double max_difference(const double* a, const double* b, std::int64_t count) {
    double worst = 0.0;
    for (std::int64_t k = 0; k < count; ++k) worst = std::max(worst, std::fabs(a[k] - b[k]));
    return worst;
}

}  // namespace marvist::test
