// First half of the NSCA solution: decomposes the weighted centred column
// profiles, lists the singular values and principal inertias with the total
// inertia, settles the number of usable axes and returns (and lists) the
// standard row and column coordinates.
#pragma once

#include <span>
#include <string>

#include "analysis/run_state.h"
#include "base/layout.h"
#include "base/matrix.h"

namespace marvist {

// Singular values not above this count as zero.
inline constexpr double kAxisThreshold = 1e-06;

// A           ld x n (at least m x n): the matrix to decompose; rows beyond m ignored (in)
// F           exactly m rows, at least rs.n_axes columns: standard row coordinates
//             U(i,k) in columns 1..K                                               (out)
// G           exactly n rows, at least rs.n_axes columns: standard column coordinates
//             V(j,k) in columns 1..K                                               (out)
// W           n: all singular values, descending                                   (out)
// work        at least n reals: scratch of the decomposition                       (work)
// ld          leading dimension of the decomposition, at least max(m, n)           (in)
// m, n        rows I and columns J                                                 (in)
// d           usable axes: values above kAxisThreshold among the first min(m, n)   (out)
// row_labels  m six-character labels;  col_labels  n labels                        (in)
// listing     the table, the total inertia and both coordinate matrices            (out)
// rs          n_axes (K) is lowered to d when d is smaller; the variable names head
//             the coordinates. On a storage failure code 37, on non-convergence
//             the "Trouble" line and code 50; fatal_state is then 3.
// Throws std::invalid_argument when F or G does not match m, n and rs.n_axes.
void calsvd(const Matrix<double>& A, Matrix<double>& F, Matrix<double>& G, Vector<double>& W, Vector<double>& work,
            int ld, int m, int n, int& d, std::span<const std::string> row_labels,
            std::span<const std::string> col_labels, RecordSink& listing, RunState& rs);

}  // namespace marvist
