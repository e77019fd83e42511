// Householder bidiagonalisation and the accumulation of its reflections.
//
// The loops run down columns wherever the arithmetic allows: inner products
// of one vector with several columns are formed side by side (each sum still
// runs from 0 in the order of the rows), and the row updates of the
// right-hand reflections are gathered column by column. Every accumulator
// sees the same operands in the same order as in a row-by-row formulation.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "nsca/svd_steps.h"

namespace marvist {
namespace {

using Index = std::int64_t;

// out[t] = sum over r < len of a[r*as] * b[t*ldb + r], for t < count (at most 4),
// each sum started at 0 and taken in order of r.
void column_dots(const double* a, Index as, const double* b, Index ldb, Index len, int count,
                 double out[4]) {
    const double* b0 = b;
    const double* b1 = count > 1 ? b + ldb : b;  // columns past count are never formed
    const double* b2 = count > 2 ? b + 2 * ldb : b;
    const double* b3 = count > 3 ? b + 3 * ldb : b;
    double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
    if (count == 4) {
        for (Index r = 0; r < len; ++r) {
            const double x = a[r * as];
            s0 += x * b0[r];
            s1 += x * b1[r];
            s2 += x * b2[r];
            s3 += x * b3[r];
        }
    } else {
        for (Index r = 0; r < len; ++r) {
            const double x = a[r * as];
            s0 += x * b0[r];
            if (count > 1) s1 += x * b1[r];
            if (count > 2) s2 += x * b2[r];
        }
    }
    out[0] = s0;
    out[1] = s1;
    out[2] = s2;
    out[3] = s3;
}

// y[r] += f * x[r] for r < len.
void add_multiple(double* y, double f, const double* x, Index len) {
    for (Index r = 0; r < len; ++r) y[r] += f * x[r];
}

// Left reflection of step i: column i (rows i..m) and the columns after it.
void reflect_column(int i, int m, int n, Matrix<double>& U, double& g, double& scale) {
    const Index ld = U.rows();
    const Index len = m - i + 1;
    double* ui = U.column(i) + (i - 1);
    for (Index r = 0; r < len; ++r) scale += std::fabs(ui[r]);
    if (scale == 0.0) return;
    double s = 0.0;
    for (Index r = 0; r < len; ++r) {
        ui[r] /= scale;
        s += ui[r] * ui[r];
    }
    const double f = ui[0];
    g = -sign_of(std::sqrt(s), f);
    const double h = f * g - s;
    ui[0] = f - g;
    double sums[4];
    for (int j = i + 1; j <= n; j += 4) {
        const int count = std::min(4, n - j + 1);
        double* uj = U.column(j) + (i - 1);
        column_dots(ui, 1, uj, ld, len, count, sums);
        for (int t = 0; t < count; ++t) add_multiple(uj + t * ld, sums[t] / h, ui, len);
    }
    for (Index r = 0; r < len; ++r) ui[r] *= scale;
}

// Right reflection of step i: row i (columns i+1..n) and the rows below it.
void reflect_row(int i, int m, int n, Matrix<double>& U, Vector<double>& work, double* rowsum,
                 double& g, double& scale) {
    const int l = i + 1;
    for (int k = l; k <= n; ++k) scale += std::fabs(U(i, k));
    if (scale == 0.0) return;
    double s = 0.0;
    for (int k = l; k <= n; ++k) {
        U(i, k) /= scale;
        s += U(i, k) * U(i, k);
    }
    const double f = U(i, l);
    g = -sign_of(std::sqrt(s), f);
    const double h = f * g - s;
    U(i, l) = f - g;
    for (int k = l; k <= n; ++k) work(k) = U(i, k) / h;
    if (i != m) {
        if (rowsum != nullptr) {
            // All row sums at once, one column at a time, then the updates.
            double* sum = rowsum + l - 1;
            const Index len = m - l + 1;
            std::fill(sum, sum + len, 0.0);
            for (int k = l; k <= n; ++k) {
                const double uik = U(i, k);
                const double* uk = U.column(k) + (l - 1);
                for (Index r = 0; r < len; ++r) sum[r] += uk[r] * uik;
            }
            for (int k = l; k <= n; ++k) {
                const double wk = work(k);
                double* uk = U.column(k) + (l - 1);
                for (Index r = 0; r < len; ++r) uk[r] += sum[r] * wk;
            }
        } else {
            for (int j = l; j <= m; ++j) {
                s = 0.0;
                for (int k = l; k <= n; ++k) s += U(j, k) * U(i, k);
                for (int k = l; k <= n; ++k) U(j, k) += s * work(k);
            }
        }
    }
    for (int k = l; k <= n; ++k) U(i, k) *= scale;
}

}  // namespace

double bidiagonalise(int m, int n, Matrix<double>& U, Vector<double>& W, Vector<double>& work,
                     double* rowsum) {
    double g = 0.0, scale = 0.0, anorm = 0.0;
    for (int i = 1; i <= n; ++i) {
        work(i) = scale * g;
        g = scale = 0.0;
        if (i <= m) reflect_column(i, m, n, U, g, scale);
        W(i) = scale * g;
        g = scale = 0.0;
        if (i <= m && i != n) reflect_row(i, m, n, U, work, rowsum, g, scale);
        anorm = std::max(anorm, std::fabs(W(i)) + std::fabs(work(i)));
    }
    return anorm;
}

void accumulate_right(int n, const Matrix<double>& U, const Vector<double>& work, Matrix<double>& V,
                      double* rowcopy) {
    const Index ldu = U.rows();
    const Index ldv = V.rows();
    for (int i = n; i >= 1; --i) {
        const int l = i + 1;
        if (i < n) {
            const double g = work(l);
            const Index len = n - l + 1;
            double* vi = V.column(i) + (l - 1);
            if (g != 0.0) {
                // Row i of U, columns l..n, read contiguously when there is room to copy it.
                const double* row = &U(i, l);
                Index stride = ldu;
                if (rowcopy != nullptr) {
                    for (Index r = 0; r < len; ++r) rowcopy[r] = row[r * ldu];
                    row = rowcopy;
                    stride = 1;
                }
                const double uil = row[0];
                for (Index r = 0; r < len; ++r) vi[r] = (row[r * stride] / uil) / g;
                double sums[4];
                for (int j = l; j <= n; j += 4) {
                    const int count = std::min(4, n - j + 1);
                    double* vj = V.column(j) + (l - 1);
                    column_dots(row, stride, vj, ldv, len, count, sums);
                    for (int t = 0; t < count; ++t) add_multiple(vj + t * ldv, sums[t], vi, len);
                }
            }
            for (int j = l; j <= n; ++j) V(i, j) = 0.0;
            std::fill(vi, vi + len, 0.0);
        }
        V(i, i) = 1.0;
    }
}

void accumulate_left(int m, int n, Matrix<double>& U, const Vector<double>& W) {
    const Index ld = U.rows();
    const int mn = std::min(m, n);
    for (int i = mn; i >= 1; --i) {
        const int l = i + 1;
        const double g = W(i);
        for (int j = l; j <= n; ++j) U(i, j) = 0.0;
        double* ui = U.column(i) + (i - 1);
        const Index len = m - i + 1;
        if (g != 0.0) {
            if (i != mn) {
                const double uii = ui[0];
                double sums[4];
                for (int j = l; j <= n; j += 4) {
                    const int count = std::min(4, n - j + 1);
                    double* uj = U.column(j) + (i - 1);
                    column_dots(ui + 1, 1, uj + 1, ld, len - 1, count, sums);
                    for (int t = 0; t < count; ++t)
                        add_multiple(uj + t * ld, (sums[t] / uii) / g, ui, len);
                }
            }
            for (Index r = 0; r < len; ++r) ui[r] /= g;
        } else {
            std::fill(ui, ui + len, 0.0);
        }
        ui[0] += 1.0;
    }
}

}  // namespace marvist
