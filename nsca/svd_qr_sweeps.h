// The implicitly shifted QR sweeps of svd(), written once for two callers:
// svd() rotates the columns of U and V as it goes, the values-only pass of
// the NSCA records each rotation instead. The arithmetic on W and work is
// the same text in both, so are the singular values and the sweep counts.
//
// Turns is told what happens besides that arithmetic:
//   sweep(l, k)           a QR sweep over W(l..k) begins
//   cancellation(l)       the cancellation of work(l) begins
//   right(p, q, c, s)     columns p, q of V turn: (a, b) -> (a·c + b·s, -a·s + b·c)
//   left(p, q, c, s)      columns p, q of U turn, in a sweep or a cancellation
//   converged(k, z)       W(k) has converged with the value z; when z < 0 the
//                         value is negated and column k of V changes sign
#pragma once

#include <cmath>

#include "base/matrix.h"
#include "nsca/svd_steps.h"

namespace marvist::qr {

// Cancels work(l) when W(l-1) is negligible, turning columns l-1 and l..k of U.
template <class Turns>
void cancel(int l, int k, double anorm, Vector<double>& W, Vector<double>& work, Turns& turns) {
    const int nm = l - 1;
    double c = 0.0, s = 1.0;
    turns.cancellation(l);
    for (int i = l; i <= k; ++i) {
        const double f = s * work(i);
        work(i) = c * work(i);
        if (std::fabs(f) + anorm == anorm) return;
        const double g = W(i);
        const double h = std::sqrt(f * f + g * g);
        W(i) = h;
        c = g / h;
        s = -f / h;
        turns.left(nm, i, c, s);
    }
}

// One QR sweep over W(l..k) with the shift from the bottom 2 x 2 minor.
template <class Turns>
void sweep(int l, int k, Vector<double>& W, Vector<double>& work, Turns& turns) {
    double z = W(k);
    double x = W(l);
    double y = W(k - 1);
    double g = work(k - 1);
    double h = work(k);
    double f = ((y - z) * (y + z) + (g - h) * (g + h)) / (2.0 * h * y);
    g = std::sqrt(f * f + 1.0);
    f = ((x - z) * (x + z) + h * ((y / (f + sign_of(g, f))) - h)) / x;
    double c = 1.0, s = 1.0;
    turns.sweep(l, k);
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
        turns.right(j, i, c, s);
        z = std::sqrt(f * f + h * h);
        W(j) = z;
        if (z != 0.0) {
            c = f / z;
            s = h / z;
        }
        f = c * g + s * y;
        x = -s * g + c * y;
        turns.left(j, i, c, s);
    }
    work(l) = 0.0;
    work(k) = f;
    W(k) = x;
}

// Diagonalises the bidiagonal form (W, work) of order n. Returns 0, or k
// when the k-th value failed to converge within 30 sweeps.
template <class Turns>
int diagonalise(int n, double anorm, Vector<double>& W, Vector<double>& work, Turns& turns) {
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
            if (negligible_w) cancel(l, k, anorm, W, work, turns);
            if (l == k) {
                const double z = W(k);
                if (z < 0.0) W(k) = -z;
                turns.converged(k, z);
                break;
            }
            if (its == 30) return k;
            sweep(l, k, W, work, turns);
        }
    }
    return 0;
}

}  // namespace marvist::qr
