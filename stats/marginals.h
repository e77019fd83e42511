// Totals, marginal proportions and profiles of a table of counts.
#pragma once

#include <cstdint>

#include "base/matrix.h"

namespace marvist {

struct Marginals {
    Vector<std::int64_t> row_totals;  // I, f(i,.)
    Vector<std::int64_t> col_totals;  // J, f(.,j)
    std::int64_t total_n = 0;         // N
    // I and J: the totals as reals, then (compute_profiles) the proportions
    // r(i) = f(i,.)/N and c(j) = f(.,j)/N.
    Vector<double> row_margins, col_margins;
    Matrix<double> row_profiles;  // I x J, f(i,j)/f(i,.)
    Matrix<double> col_profiles;  // I x J, f(i,j)/f(.,j)
};

// Sizes every array for an I x J table; false when the storage cannot be
// obtained (the memory error).
bool obtain_marginals(Marginals& m, std::int64_t I, std::int64_t J);

// Totals, N, and the margins as totals of counts (I x J).
void compute_marginals(const Matrix<std::int32_t>& counts, std::int64_t I, std::int64_t J, Marginals& m);

// Row and column profiles; then the margins become proportions of N.
// Every total must be positive.
void compute_profiles(const Matrix<std::int32_t>& counts, std::int64_t I, std::int64_t J, Marginals& m);

}  // namespace marvist
