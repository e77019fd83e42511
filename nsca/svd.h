// Singular value decomposition A = U·diag(W)·Vᵀ of a real m x n matrix
// (Golub-Reinsch: Householder bidiagonalisation, accumulation of the
// transformations, implicitly shifted QR sweeps) and the descending sort of
// its values. Arrays are column-major and indexed from 1.
#pragma once

#include "base/matrix.h"

namespace marvist {

// ld      leading dimension allocated for A, U and V; at least max(m, n)          (in)
// m, n    rows and columns of A                                                  (in)
// A       the matrix, rows 1..m and columns 1..n; not altered                    (in)
// W       n singular values, all >= 0, in no particular order                    (out)
// want_u  compute the left singular vectors                                      (in)
// U       at least m x n: left singular vectors in columns 1..n, rows 1..m (the
//         columns of the n - m zero values are zero when m < n); else work space (out)
// want_v  compute the right singular vectors                                     (in)
// V       at least n x n: the orthogonal matrix of right singular vectors;
//         untouched without want_v                                               (out)
// ierr    0, or k when the k-th value has not converged within 30 QR sweeps;
//         then W(k+1..n) and their vectors are final, the rest are not           (out)
// work    at least n reals: super-diagonal of the bidiagonal form and scratch    (work)
// Throws std::invalid_argument when an array is smaller than the sizes require.
void svd(int ld, int m, int n, const Matrix<double>& A, Vector<double>& W, bool want_u,
         Matrix<double>& U, bool want_v, Matrix<double>& V, int& ierr, Vector<double>& work);

// U    columns 1..k, rows 1..m moved along with W                    (in/out)
// W    k values, put into descending order; equal values keep order  (in/out)
// V    columns 1..k, rows 1..n moved along with W                    (in/out)
// ld   leading dimension allocated for U and V                       (in)
// m    rows of U to move;  n  rows of V to move;  k  number of values (in)
void eigsrt(Matrix<double>& U, Vector<double>& W, Matrix<double>& V, int ld, int m, int n, int k);

}  // namespace marvist
