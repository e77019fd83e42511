// eigsrt(): straight exchange sort of the singular values into descending
// order, carrying the columns of U and V along.
#include <algorithm>
#include <stdexcept>
#include <utility>

#include "nsca/svd.h"

namespace marvist {

void eigsrt(Matrix<double>& U, Vector<double>& W, Matrix<double>& V, int /*ld*/, int m, int n, int k) {
    if (k < 0 || W.size() < k || U.rows() < m || U.cols() < k || V.rows() < n || V.cols() < k)
        throw std::invalid_argument("eigsrt: array smaller than its dimensions");
    for (int i = 1; i <= k; ++i) {
        for (int j = i; j <= k; ++j) {
            if (!(W(i) < W(j))) continue;  // equal values are never exchanged
            std::swap(W(i), W(j));
            std::swap_ranges(U.column(i), U.column(i) + m, U.column(j));
            std::swap_ranges(V.column(i), V.column(i) + n, V.column(j));
        }
    }
}

}  // namespace marvist
