#include "nsca/nsca.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

#include "base/storage.h"
#include "nsca/supcol.h"

// Squares are formed as x*x of the double, which is what a real power of 2
// gives; every threshold is kAxisThreshold (1e-06).

namespace marvist {
namespace {

// Principal column coordinates g_jk = v_jk·λ_k / sqrt(p_.j) and the length of
// every column over all K axes. A column of mass (practically) zero stays at
// the origin.
void principal_columns(const Matrix<double>& V, Matrix<double>& G, Vector<double>& length, const Vector<double>& W,
                       const Vector<double>& col_margins, int J, int K) {
    for (int j = 1; j <= J; ++j) {
        const double s = std::sqrt(col_margins(j));
        double sum = 0.0;
        for (int k = 1; k <= K; ++k) {
            const double g = s < kAxisThreshold ? 0.0 : V(j, k) * W(k) / s;
            G(j, k) = g;
            sum += g * g;
        }
        length(j) = std::sqrt(sum);
    }
}

// Implied centred column profiles X(i,j) = Σ_k u_ik·g_jk.
void implied_profiles(Matrix<double>& X, const Matrix<double>& F, const Matrix<double>& G, int I, int J, int K) {
    for (int j = 1; j <= J; ++j) {
        for (int i = 1; i <= I; ++i) {
            double x = 0.0;
            for (int k = 1; k <= K; ++k) x += F(i, k) * G(j, k);
            X(i, j) = x;
        }
    }
}

// Residuals R = observed - implied centred profiles, with the log-likelihood
// ratio statistic of the fitted counts and the sum of squared residuals.
// Columns outer, rows inner.
void residuals(const Matrix<double>& X, const Matrix<double>& A, Matrix<double>& R, const Vector<double>& row_margins,
               const Vector<double>& col_margins, double N, int I, int J, double& G2, double& SS) {
    G2 = 0.0;
    SS = 0.0;
    for (int j = 1; j <= J; ++j) {
        const double s = std::sqrt(col_margins(j));
        for (int i = 1; i <= I; ++i) {
            const double pi = A(i, j) / s;
            const double o = (pi + row_margins(i)) * col_margins(j) * N;
            const double e = (X(i, j) + row_margins(i)) * col_margins(j) * N;
            // A zero count, or a fitted count of (practically) zero, adds
            // nothing; a negative fitted count still does, through the square.
            if (std::fabs(e) > kAxisThreshold && std::fabs(o / e) > kAxisThreshold) {
                const double q = o / e;
                G2 += o * std::log(q * q);
            }
            const double r = pi - X(i, j);
            R(i, j) = r;
            SS += r * r;
        }
    }
}

// Contributions of the columns: S(j,k) the column's share of the principal
// inertia of axis k, T(j) the part of the column's contribution to tau that
// the K axes account for.
void column_contributions(const Matrix<double>& G, Matrix<double>& S, Vector<double>& T, const Vector<double>& W,
                          const Vector<double>& col_margins, const Vector<double>& col_parts, int J, int K) {
    for (int j = 1; j <= J; ++j) T(j) = 0.0;
    for (int k = 1; k <= K; ++k) {
        const double inertia = W(k) * W(k);
        for (int j = 1; j <= J; ++j) {
            const double c = col_margins(j) * (G(j, k) * G(j, k));
            T(j) += c;
            S(j, k) = c / inertia;
        }
    }
    // A column that carries no part of tau has nothing to account for: 0, not 0/0.
    for (int j = 1; j <= J; ++j) T(j) = col_parts(j) == 0.0 ? 0.0 : T(j) / col_parts(j);
}

// Contributions of the axes to the rows: S(i,k) = (u_ik·λ_k)² over the row's
// part of tau, R(i) their sum over the K axes.
void row_contributions(const Matrix<double>& F, Matrix<double>& S, Vector<double>& R, const Vector<double>& W,
                       const Vector<double>& row_parts, int I, int K) {
    for (int i = 1; i <= I; ++i) R(i) = 0.0;
    for (int k = 1; k <= K; ++k) {
        for (int i = 1; i <= I; ++i) {
            const double x = F(i, k) * W(k);
            // A row that carries no part of tau gets 0, not 0/0.
            const double c = row_parts(i) == 0.0 ? 0.0 : x * x / row_parts(i);
            S(i, k) = c;
            R(i) += c;
        }
    }
}

}  // namespace

ErrorCode failure_code(NscaFailure failure) {
    switch (failure) {
        case NscaFailure::None: return ErrorCode::None;
        case NscaFailure::NotConverged: return ErrorCode::SvdFailed;
        case NscaFailure::NoStorage:
        case NscaFailure::NoDecompositionStorage:
        case NscaFailure::NoSupplementaryStorage:
        case NscaFailure::NoFitStorage: break;
    }
    return ErrorCode::Memory;
}

NscaResult nsca(Matrix<double> weighted, const Vector<double>& row_margins, const Vector<double>& col_margins,
                const Matrix<std::int32_t>& supp_counts, const Vector<double>& row_parts,
                const Vector<double>& col_parts, std::int64_t total_n, int I, int J, int n_supp, int n_axes,
                SvdPath path) {
    Matrix<double>& X = weighted;
    if (I < 1 || J < 1 || n_supp < 0 || n_axes < 0 || X.rows() != I || X.cols() < J || row_margins.size() < I ||
        col_margins.size() < J || row_parts.size() < I || col_parts.size() < J ||
        (n_supp > 0 && (supp_counts.rows() < I || supp_counts.cols() < n_supp)))
        throw std::invalid_argument("nsca: array smaller than its dimensions");

    NscaResult r;
    r.n_axes = n_axes;
    // Sizes follow the number of axes asked for; calsvd may lower it.
    const int L = std::max(I, J);
    Vector<double> scratch;  // work space of the decomposition
    Matrix<double> A;        // the data, with rows I+1..L zero
    // A is the largest; everything else of the solution but the residuals
    // (no larger than A) is obtained with it.
    if (!obtain(r.singular_values, J) || !obtain(r.row_standard, I, n_axes) || !obtain(r.col_standard, J, n_axes) ||
        !obtain(scratch, L) || !obtain(A, L, J) || !obtain(r.col_lengths, J) || !obtain(r.col_principal, J, n_axes) ||
        !obtain(r.col_axis_shares, J, n_axes) || !obtain(r.col_explained, J) || !obtain(r.row_axis_shares, I, n_axes) ||
        !obtain(r.row_explained, I)) {
        r.failure = NscaFailure::NoStorage;
        return r;
    }

    for (int j = 1; j <= J; ++j) {
        for (int i = 1; i <= I; ++i) A(i, j) = X(i, j);
    }

    switch (
        calsvd(A, r.row_standard, r.col_standard, r.singular_values, scratch, L, I, J, r.n_axes, r.inertias, r.ierr,
               path)) {
        case ErrorCode::None: break;
        case ErrorCode::SvdFailed: r.failure = NscaFailure::NotConverged; return r;
        default: r.failure = NscaFailure::NoDecompositionStorage; return r;
    }
    scratch.release();
    const int K = r.n_axes;
    const Vector<double>& W = r.singular_values;

    principal_columns(r.col_standard, r.col_principal, r.col_lengths, W, col_margins, J, K);
    implied_profiles(X, r.row_standard, r.col_principal, I, J, K);

    if (n_supp > 0) {
        if (!obtain(r.supp_principal, n_supp, K) ||
            supcol(r.row_standard, r.supp_principal, row_margins, supp_counts, I, n_supp, K) != ErrorCode::None) {
            r.failure = NscaFailure::NoSupplementaryStorage;
            return r;
        }
    }

    if (!obtain(r.residuals, I, J)) {
        r.failure = NscaFailure::NoFitStorage;
        return r;
    }
    double SS = 0.0;
    residuals(X, A, r.residuals, row_margins, col_margins, static_cast<double>(total_n), I, J, r.g2, SS);
    A.release();
    r.implied = std::move(X);
    r.rms = std::sqrt(SS / static_cast<double>(std::int64_t{I} * J));
    r.df = (J - K - 1) * (I - K - 1);

    column_contributions(r.col_principal, r.col_axis_shares, r.col_explained, W, col_margins, col_parts, J, K);
    row_contributions(r.row_standard, r.row_axis_shares, r.row_explained, W, row_parts, I, K);
    return r;
}

}  // namespace marvist
