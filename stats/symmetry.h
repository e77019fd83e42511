// Symmetric and skew-symmetric parts of a square table: F = S + K with
// S = (F + F')/2 and K = (F - F')/2.
#pragma once

#include <cstdint>
#include <optional>

#include "base/matrix.h"

namespace marvist {

struct SymmetryResult {
    Matrix<double> symmetric;  // I x I, S
    Matrix<double> skew;       // I x I, K
    Vector<double> marginals;  // I row totals of S, equal to its column totals
};

// counts  I x J table with I = J (not changed)
// Empty when the storage for the result cannot be obtained (the memory
// error). Throws std::invalid_argument when the table is not square or
// smaller than I x J.
std::optional<SymmetryResult> analyse_symmetry(const Matrix<std::int32_t>& counts, int I, int J);

}  // namespace marvist
