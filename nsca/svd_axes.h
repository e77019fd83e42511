// The decomposition as calsvd lists it: every singular value in descending
// order, and the singular vectors of the listed axes.
#pragma once

#include <cstdint>

#include "base/matrix.h"

namespace marvist {

// How the NSCA obtains its singular vectors. Fast: a values-only pass and
// the vectors of the listed axes alone; Full: every vector by svd(). Both
// list the same figures; tests choose Full to compare the two.
enum class SvdPath { Fast, Full };

// The outcome of decompose_sorted(): the path it took and the vectors.
struct SortedSvd {
    SvdPath path = SvdPath::Full;
    Matrix<double> U, V;  // the vectors of the sorted values: every one (Full) or the listed ones (Fast)
};

// Listed values closer than this, relative to the largest, count as repeated.
inline constexpr double kRepeatedValue = 1e-12;
// Entries of a listed (unit) vector closer than this in magnitude, or to zero,
// count as equal.
inline constexpr double kEqualEntries = 1e-13;

// Doubles of the fast path's rotation record from which the right vectors
// are replayed on a thread of their own, beside the left ones (below it the
// thread would cost more than it saves). The vectors are the same either way.
inline constexpr std::int64_t kSharedReplay = std::int64_t{1} << 20;

// A       ld x n (at least m x n): the matrix; not altered                         (in)
// W       n: the singular values as svd() gives them, then sorted as by eigsrt()  (out)
// work    at least n reals                                                         (work)
// ld      leading dimension of svd()'s arrays, at least max(m, n)                  (in)
// m, n    rows and columns                                                         (in)
// axes    the number of axes asked for: K = min(axes, usable values) are listed    (in)
// path    Fast: the values-only pass and the K vectors replayed; it takes the full
//         decomposition instead where a replayed vector could change a listed
//         figure (see svd_axes.cpp) or the rotations cannot be stored.
//         Full: svd() and eigsrt() of every vector.                              (in)
// out     the path taken and the vectors                                           (out)
// ierr    svd()'s IERR; W is not sorted when it is not 0                           (out)
// Returns false when storage is refused: the full decomposition's arrays do not
// fit, whichever path is taken, so that the fast path fails where svd() would.
bool decompose_sorted(const Matrix<double>& A, Vector<double>& W, Vector<double>& work, int ld, int m, int n, int axes,
                      SvdPath path, SortedSvd& out, int& ierr);

// Columns 1..K (K at most the listed axes) of the sorted U into F (exactly m
// rows) and of V into G (exactly n rows).
void copy_leading_vectors(const SortedSvd& svd, int K, Matrix<double>& F, Matrix<double>& G);

}  // namespace marvist
