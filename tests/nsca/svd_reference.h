// A plain element-by-element transcription of the Golub-Reinsch decomposition,
// written for clarity, not speed. The tests compare the optimised svd() with
// it bit for bit.
#pragma once

#include <algorithm>
#include <cmath>

#include "listing/matrix.h"

namespace marvist::test {

inline double sign_of(double a, double b) { return b >= 0.0 ? std::fabs(a) : -std::fabs(a); }

inline void reference_svd(int m, int n, const Matrix<double>& A, Vector<double>& W, bool want_u,
                          Matrix<double>& U, bool want_v, Matrix<double>& V, int& ierr,
                          Vector<double>& work) {
    ierr = 0;
    for (int j = 1; j <= n; ++j)
        for (int i = 1; i <= m; ++i) U(i, j) = A(i, j);

    double g = 0.0, scale = 0.0, anorm = 0.0, s = 0.0, f = 0.0, h = 0.0;
    for (int i = 1; i <= n; ++i) {
        const int l = i + 1;
        work(i) = scale * g;
        g = s = scale = 0.0;
        if (i <= m) {
            for (int k = i; k <= m; ++k) scale += std::fabs(U(k, i));
            if (scale != 0.0) {
                for (int k = i; k <= m; ++k) {
                    U(k, i) /= scale;
                    s += U(k, i) * U(k, i);
                }
                f = U(i, i);
                g = -sign_of(std::sqrt(s), f);
                h = f * g - s;
                U(i, i) = f - g;
                for (int j = l; j <= n; ++j) {
                    s = 0.0;
                    for (int k = i; k <= m; ++k) s += U(k, i) * U(k, j);
                    f = s / h;
                    for (int k = i; k <= m; ++k) U(k, j) += f * U(k, i);
                }
                for (int k = i; k <= m; ++k) U(k, i) *= scale;
            }
        }
        W(i) = scale * g;
        g = s = scale = 0.0;
        if (i <= m && i != n) {
            for (int k = l; k <= n; ++k) scale += std::fabs(U(i, k));
            if (scale != 0.0) {
                for (int k = l; k <= n; ++k) {
                    U(i, k) /= scale;
                    s += U(i, k) * U(i, k);
                }
                f = U(i, l);
                g = -sign_of(std::sqrt(s), f);
                h = f * g - s;
                U(i, l) = f - g;
                for (int k = l; k <= n; ++k) work(k) = U(i, k) / h;
                if (i != m) {
                    for (int j = l; j <= m; ++j) {
                        s = 0.0;
                        for (int k = l; k <= n; ++k) s += U(j, k) * U(i, k);
                        for (int k = l; k <= n; ++k) U(j, k) += s * work(k);
                    }
                }
                for (int k = l; k <= n; ++k) U(i, k) *= scale;
            }
        }
        anorm = std::max(anorm, std::fabs(W(i)) + std::fabs(work(i)));
    }

    if (want_v) {
        for (int i = n; i >= 1; --i) {
            const int l = i + 1;
            if (i < n) {
                g = work(l);
                if (g != 0.0) {
                    for (int j = l; j <= n; ++j) V(j, i) = (U(i, j) / U(i, l)) / g;
                    for (int j = l; j <= n; ++j) {
                        s = 0.0;
                        for (int k = l; k <= n; ++k) s += U(i, k) * V(k, j);
                        for (int k = l; k <= n; ++k) V(k, j) += s * V(k, i);
                    }
                }
                for (int j = l; j <= n; ++j) V(i, j) = V(j, i) = 0.0;
            }
            V(i, i) = 1.0;
        }
    }

    if (want_u) {
        const int mn = std::min(m, n);
        for (int i = mn; i >= 1; --i) {
            const int l = i + 1;
            g = W(i);
            for (int j = l; j <= n; ++j) U(i, j) = 0.0;
            if (g != 0.0) {
                if (i != mn) {
                    for (int j = l; j <= n; ++j) {
                        s = 0.0;
                        for (int k = l; k <= m; ++k) s += U(k, i) * U(k, j);
                        f = (s / U(i, i)) / g;
                        for (int k = i; k <= m; ++k) U(k, j) += f * U(k, i);
                    }
                }
                for (int j = i; j <= m; ++j) U(j, i) /= g;
            } else {
                for (int j = i; j <= m; ++j) U(j, i) = 0.0;
            }
            U(i, i) += 1.0;
        }
    }

    for (int k = n; k >= 1; --k) {
        for (int its = 0;; ++its) {
            bool cancel = true;
            int l = k;
            for (; l >= 1; --l) {
                if (std::fabs(work(l)) + anorm == anorm) {
                    cancel = false;
                    break;
                }
                if (std::fabs(W(l - 1)) + anorm == anorm) break;
            }
            const int nm = l - 1;
            if (cancel) {
                double c = 0.0;
                s = 1.0;
                for (int i = l; i <= k; ++i) {
                    f = s * work(i);
                    work(i) = c * work(i);
                    if (std::fabs(f) + anorm == anorm) break;
                    g = W(i);
                    h = std::sqrt(f * f + g * g);
                    W(i) = h;
                    c = g / h;
                    s = -f / h;
                    if (want_u) {
                        for (int j = 1; j <= m; ++j) {
                            const double y = U(j, nm), z = U(j, i);
                            U(j, nm) = y * c + z * s;
                            U(j, i) = -y * s + z * c;
                        }
                    }
                }
            }
            double z = W(k);
            if (l == k) {
                if (z < 0.0) {
                    W(k) = -z;
                    if (want_v)
                        for (int j = 1; j <= n; ++j) V(j, k) = -V(j, k);
                }
                break;
            }
            if (its == 30) {
                ierr = k;
                return;
            }
            double x = W(l);
            double y = W(k - 1);
            g = work(k - 1);
            h = work(k);
            f = ((y - z) * (y + z) + (g - h) * (g + h)) / (2.0 * h * y);
            g = std::sqrt(f * f + 1.0);
            f = ((x - z) * (x + z) + h * ((y / (f + sign_of(g, f))) - h)) / x;
            double c = 1.0;
            s = 1.0;
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
                if (want_v) {
                    for (int r = 1; r <= n; ++r) {
                        const double p = V(r, j), q = V(r, i);
                        V(r, j) = p * c + q * s;
                        V(r, i) = -p * s + q * c;
                    }
                }
                z = std::sqrt(f * f + h * h);
                W(j) = z;
                if (z != 0.0) {
                    c = f / z;
                    s = h / z;
                }
                f = c * g + s * y;
                x = -s * g + c * y;
                if (want_u) {
                    for (int r = 1; r <= m; ++r) {
                        const double p = U(r, j), q = U(r, i);
                        U(r, j) = p * c + q * s;
                        U(r, i) = -p * s + q * c;
                    }
                }
            }
            work(l) = 0.0;
            work(k) = f;
            W(k) = x;
        }
    }
}

}  // namespace marvist::test
