// svd(): checks the arrays, obtains the scratch that lets the phases run down
// columns, copies A into U and runs the phases in order.
#include "nsca/svd.h"

#include <algorithm>
#include <stdexcept>

#include "base/storage.h"
#include "nsca/svd_steps.h"

namespace marvist {
namespace {

void check_sizes(int ld, int m, int n, const Matrix<double>& A, const Vector<double>& W,
                 const Matrix<double>& U, bool want_v, const Matrix<double>& V,
                 const Vector<double>& work) {
    const bool ok = m >= 0 && n >= 0 && ld >= std::max(m, n) && A.rows() >= m && A.cols() >= n &&
                    W.size() >= n && U.rows() >= m && U.cols() >= n && work.size() >= n &&
                    (!want_v || (V.rows() >= n && V.cols() >= n));
    if (!ok) throw std::invalid_argument("svd: array smaller than its dimensions");
}

}  // namespace

void svd(int ld, int m, int n, const Matrix<double>& A, Vector<double>& W, bool want_u,
         Matrix<double>& U, bool want_v, Matrix<double>& V, int& ierr, Vector<double>& work) {
    check_sizes(ld, m, n, A, W, U, want_v, V, work);
    ierr = 0;
    for (int j = 1; j <= n; ++j) std::copy_n(A.column(j), m, U.column(j));

    // Scratch is a convenience: when it cannot be had, every phase falls back
    // to loops that need none and gives the same figures.
    Vector<double> scratch;
    double* rows = obtain(scratch, std::max(m, n)) && !scratch.empty() ? scratch.data() : nullptr;

    const double anorm = bidiagonalise(m, n, U, W, work, rows);
    if (want_v) accumulate_right(n, U, work, V, rows);
    if (want_u) accumulate_left(m, n, U, W);
    ierr = diagonalise(m, n, anorm, W, work, want_u, U, want_v, V);
}

}  // namespace marvist
