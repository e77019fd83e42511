#include "nsca/calsvd.h"

#include <algorithm>
#include <stdexcept>

#include "nsca/svd_axes.h"

namespace marvist {

ErrorCode calsvd(const Matrix<double>& A, Matrix<double>& F, Matrix<double>& G, Vector<double>& W, Vector<double>& work,
                 int ld, int m, int n, int& n_axes, InertiaTable& table, int& ierr, SvdPath path) {
    if (F.rows() != m || G.rows() != n || F.cols() < n_axes || G.cols() < n_axes)
        throw std::invalid_argument("calsvd: coordinate arrays do not match m, n and n_axes");

    // The fast path computes the vectors of the listed axes only, and takes
    // the full decomposition where that could move a listed figure.
    SortedSvd factors;  // the sorted values' vectors
    ierr = 0;
    if (!decompose_sorted(A, W, work, ld, m, n, n_axes, path, factors, ierr)) return ErrorCode::Memory;
    if (ierr != 0) return ErrorCode::SvdFailed;

    // Every value enters the total, also those counted as zero; W is
    // descending, so d counts the leading values above the threshold.
    const int p = std::min(m, n);
    int d = p;
    double total = 0.0;
    for (int i = 1; i <= p; ++i) {
        if (W(i) <= kAxisThreshold) --d;
        total += W(i) * W(i);
    }

    table.usable_axes = d;
    table.total = total;
    double cumulative = 0.0;
    for (int i = 1; i <= d; ++i) {
        const double inertia = W(i) * W(i);
        const double proportion = inertia / total;
        cumulative += proportion;
        table.inertias.push_back(inertia);
        table.proportions.push_back(proportion);
        table.cumulative.push_back(cumulative);
    }

    if (d < n_axes) n_axes = d;
    const int K = n_axes;

    // The vectors as svd and eigsrt leave them: unit length, signs untouched.
    copy_leading_vectors(factors, K, F, G);
    return ErrorCode::None;
}

}  // namespace marvist
