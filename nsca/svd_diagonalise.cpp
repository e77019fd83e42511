// Diagonalisation of the bidiagonal form by implicitly shifted QR sweeps.
// Each plane rotation is applied to whole columns of U or V at once, which
// are contiguous in column-major storage.
#include <cmath>
#include <cstdint>

#include "nsca/svd_steps.h"

namespace marvist {
namespace {

using Index = std::int64_t;

// Columns p and q of M over rows 1..rows: (a, b) -> (a·c + b·s, -a·s + b·c).
void rotate(Matrix<double>& M, Index rows, int p, int q, double c, double s) {
    double* x = M.column(p);
    double* y = M.column(q);
    for (Index r = 0; r < rows; ++r) {
        const double a = x[r], b = y[r];
        x[r] = a * c + b * s;
        y[r] = -a * s + b * c;
    }
}

// Cancels work(l) when W(l-1) is negligible, rotating columns l-1 and l..k of U.
void cancel(int m, int l, int k, double anorm, Vector<double>& W, Vector<double>& work, bool want_u,
            Matrix<double>& U) {
    const int nm = l - 1;
    double c = 0.0, s = 1.0;
    for (int i = l; i <= k; ++i) {
        const double f = s * work(i);
        work(i) = c * work(i);
        if (std::fabs(f) + anorm == anorm) return;
        const double g = W(i);
        const double h = std::sqrt(f * f + g * g);
        W(i) = h;
        c = g / h;
        s = -f / h;
        if (want_u) rotate(U, m, nm, i, c, s);
    }
}

// One QR sweep over W(l..k) with the shift from the bottom 2 x 2 minor.
void sweep(int m, int n, int l, int k, Vector<double>& W, Vector<double>& work, bool want_u,
           Matrix<double>& U, bool want_v, Matrix<double>& V) {
    double z = W(k);
    double x = W(l);
    double y = W(k - 1);
    double g = work(k - 1);
    double h = work(k);
    double f = ((y - z) * (y + z) + (g - h) * (g + h)) / (2.0 * h * y);
    g = std::sqrt(f * f + 1.0);
    f = ((x - z) * (x + z) + h * ((y / (f + sign_of(g, f))) - h)) / x;
    double c = 1.0, s = 1.0;
    for (int i = l + 1; i <= k; ++i) {
        const int j = i - 1;
        g = work(i);
        y = W(i);
        h = s * g;
        g = c * g;
        z = std::sqrt(f * f + h * h);
        work(j) = z;
        c = f / z;
        s = h / z;
        f = x * c + g * s;
        g = -x * s + g * c;
        h = y * s;
        y = y * c;
        if (want_v) rotate(V, n, j, i, c, s);
        z = std::sqrt(f * f + h * h);
        W(j) = z;
        if (z != 0.0) {
            c = f / z;
            s = h / z;
        }
        f = c * g + s * y;
        x = -s * g + c * y;
        if (want_u) rotate(U, m, j, i, c, s);
    }
    work(l) = 0.0;
    work(k) = f;
    W(k) = x;
}

}  // namespace

int diagonalise(int m, int n, double anorm, Vector<double>& W, Vector<double>& work, bool want_u,
                Matrix<double>& U, bool want_v, Matrix<double>& V) {
    for (int k = n; k >= 1; --k) {
        for (int its = 0;; ++its) {
            // Split off the longest unreduced block W(l..k). work(1) is always 0, so
            // l = 1 ends the search; it is also taken as the end should work(1)
            // have become NaN, so that W(0) is never read.
            int l = k;
            bool negligible_w = false;
            for (; l > 1; --l) {
                if (std::fabs(work(l)) + anorm == anorm) break;
                if (std::fabs(W(l - 1)) + anorm == anorm) {
                    negligible_w = true;
                    break;
                }
            }
            if (negligible_w) cancel(m, l, k, anorm, W, work, want_u, U);
            if (l == k) {
                const double z = W(k);
                if (z < 0.0) {
                    W(k) = -z;
                    if (want_v) {
                        double* vk = V.column(k);
                        for (Index r = 0; r < n; ++r) vk[r] = -vk[r];
                    }
                }
                break;
            }
            if (its == 30) return k;
            sweep(m, n, l, k, W, work, want_u, U, want_v, V);
        }
    }
    return 0;
}

}  // namespace marvist
