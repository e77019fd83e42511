#include "stats/symmetry.h"

#include <algorithm>
#include <stdexcept>

#include "base/storage.h"

namespace marvist {
namespace {

// Side of the square tiles in which the table is transposed.
constexpr int kTile = 32;

}  // namespace

std::optional<SymmetryResult> analyse_symmetry(const Matrix<std::int32_t>& counts, int I, int J) {
    // Only a square table has a transpose to compare with.
    if (I != J || counts.rows() < I || counts.cols() < J)
        throw std::invalid_argument("analyse_symmetry: the table is not square");

    SymmetryResult r;
    if (!obtain(r.symmetric, I, J) || !obtain(r.skew, I, J) || !obtain(r.marginals, I)) return std::nullopt;

    Matrix<double>& s = r.symmetric;
    Matrix<double>& k = r.skew;
    Vector<double>& m = r.marginals;
    // f(i,j) is the count as a real.
    const auto f = [&counts](int i, int j) { return static_cast<double>(counts(i, j)); };
    // Square tiles, so that both f(i,j) and f(j,i) are read from a few
    // cache lines; the tiles of one band of columns before the next, so that
    // each row total adds its columns in order.
    for (int i = 1; i <= I; ++i) m(i) = 0.0;
    for (int left = 1; left <= J; left += kTile) {
        const int right = std::min(left + kTile - 1, J);
        for (int top = 1; top <= I; top += kTile) {
            const int bottom = std::min(top + kTile - 1, I);
            for (int j = left; j <= right; ++j) {
                for (int i = top; i <= bottom; ++i) {
                    s(i, j) = (f(j, i) + f(i, j)) / 2.0;
                    k(i, j) = (f(i, j) - f(j, i)) / 2.0;
                    m(i) += s(i, j);
                }
            }
        }
    }
    return r;
}

}  // namespace marvist
