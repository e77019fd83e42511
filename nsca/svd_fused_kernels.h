// The inner loops of bidiagonalise_fused(), on raw column-major blocks.
// Each sum runs in the order of its index, exactly as in bidiagonalise().
#pragma once

#include <cstdint>

namespace marvist::fused {

// What the column pass does to each of its columns, the t-th at
// first + t·ld with len rows (a[0] in the row of the current step).
struct ColumnPass {
    const double* sum = nullptr;  // held-back row update a[r] += sum[r]·w[t], when not null
    const double* w = nullptr;
    const double* u = nullptr;    // left reflection: d = Σ_r u[r]·a[r], a[r] += (d / h)·u[r], when not null
    double h = 0.0;
    double* top = nullptr;        // receives a[0] when done, when not null
    const double* above = nullptr;  // a[-1] = above[t]·above_scale, when not null
    double above_scale = 0.0;
};

void columns_pass(double* first, std::int64_t ld, std::int64_t len, int count, const ColumnPass& pass);

// sum[r] += Σ_{k < cols} a[r + k·ld]·x[k] for r < rows, adding in the order of k.
void add_row_sums(const double* a, std::int64_t ld, std::int64_t rows, int cols, const double* x, double* sum);

}  // namespace marvist::fused
