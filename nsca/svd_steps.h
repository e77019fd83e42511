// The phases of svd(), in the order it runs them. Each works in place on the
// arrays svd() hands it. A null or empty scratch argument selects the slower
// loops that need no storage beyond the arrays themselves; the results are
// the same to the last bit either way.
#pragma once

#include <cmath>

#include "base/matrix.h"

namespace marvist {

// |a| with the sign of b; positive when b is zero, whatever the sign of that zero.
inline double sign_of(double a, double b) { return b >= 0.0 ? std::fabs(a) : -std::fabs(a); }

// Reduces U (m x n, holding a copy of A) to upper bidiagonal form by
// Householder reflections: diagonal into W, super-diagonal into work
// (work(1) = 0), the reflections left in U. Returns the norm estimate
// max |W(i)| + |work(i)| used by the negligibility tests.
// rowsum  null, or m reals of scratch for the row updates
double bidiagonalise(int m, int n, Matrix<double>& U, Vector<double>& W, Vector<double>& work,
                     double* rowsum);

// Accumulates the right-hand reflections stored in the rows of U into V (n x n).
// rowcopy  null, or n reals of scratch for a row of U
void accumulate_right(int n, const Matrix<double>& U, const Vector<double>& work, Matrix<double>& V,
                      double* rowcopy);

// Accumulates the left-hand reflections stored in the columns of U in place.
void accumulate_left(int m, int n, Matrix<double>& U, const Vector<double>& W);

// Diagonalises the bidiagonal form (W, work) by implicitly shifted QR sweeps,
// rotating the columns of U (rows 1..m) and V (rows 1..n) along when asked.
// Returns 0, or k when the k-th value failed to converge within 30 sweeps.
int diagonalise(int m, int n, double anorm, Vector<double>& W, Vector<double>& work, bool want_u,
                Matrix<double>& U, bool want_v, Matrix<double>& V);

}  // namespace marvist
