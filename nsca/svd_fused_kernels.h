// The inner loops of bidiagonalise_fused(), on raw column-major blocks.
// Each sum starts at 0 and runs in the order of its index, exactly as in
// bidiagonalise().
#pragma once

#include <cstdint>

namespace marvist::fused {

// For each of count columns, the t-th at first + t·ld with len rows:
//   when sum is not null, a[r] += sum[r]·w[t]          (a held-back row update)
//   when u is not null,   d = Σ_r u[r]·a[r], then a[r] += (d / h)·u[r]   (left reflection)
void columns_pass(double* first, std::int64_t ld, std::int64_t len, int count, const double* sum, const double* w,
                  const double* u, double h);

// sum[r] = Σ_{k < cols} a[r + k·ld]·x[k·xs] for r < rows, each sum in the order of k.
void row_sums(const double* a, std::int64_t ld, std::int64_t rows, int cols, const double* x, std::int64_t xs,
              double* sum);

}  // namespace marvist::fused
