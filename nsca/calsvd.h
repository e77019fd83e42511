// First half of the NSCA solution: decomposes the weighted centred column
// profiles, orders the singular values, forms the table of principal
// inertias, settles the number of usable axes and returns the standard row
// and column coordinates.
#pragma once

#include <vector>

#include "base/diagnostics.h"
#include "base/matrix.h"
#include "nsca/svd_axes.h"

namespace marvist {

// Singular values not above this count as zero.
inline constexpr double kAxisThreshold = 1e-06;

// The table of singular values and principal inertias.
struct InertiaTable {
    int usable_axes = 0;              // d: values above kAxisThreshold among the first min(m, n)
    double total = 0.0;               // total inertia: the sum of those min(m, n) values squared
    std::vector<double> inertias;     // d values: W(i)^2
    std::vector<double> proportions;  // d values: inertia / total
    std::vector<double> cumulative;   // d values: running sum of the proportions
};

// A       at least m x n: the matrix to decompose; rows beyond m ignored      (in)
// F       exactly m rows, at least n_axes columns: standard row coordinates
//         U(i,k) in columns 1..K                                               (out)
// G       exactly n rows, at least n_axes columns: standard column coordinates
//         V(j,k) in columns 1..K                                               (out)
// W       n: all singular values, descending                                   (out)
// work    at least n reals: scratch of the decomposition                       (work)
// ld      leading dimension of the decomposition, at least max(m, n)           (in)
// m, n    rows I and columns J                                                 (in)
// n_axes  K asked for; lowered to the usable axes when they are fewer          (in/out)
// table   the singular values' table                                           (out)
// ierr    0, or the decomposition's IERR when it did not converge              (out)
// path    Fast: the vectors of the listed axes alone, replayed (decompose_sorted);
//         Full: svd() and eigsrt() of every vector. Both give the same figures.  (in)
// Returns ErrorCode::None; Memory when the singular vectors' storage cannot be
// obtained (nothing else done); SvdFailed when the decomposition did not
// converge (W partly set, nothing else done). n_axes is unchanged on failure.
// Throws std::invalid_argument when F or G does not match m, n and n_axes.
ErrorCode calsvd(const Matrix<double>& A, Matrix<double>& F, Matrix<double>& G, Vector<double>& W, Vector<double>& work,
                 int ld, int m, int n, int& n_axes, InertiaTable& table, int& ierr,
                 SvdPath path = SvdPath::Fast);

}  // namespace marvist
