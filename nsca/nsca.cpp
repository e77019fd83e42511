#include "nsca/nsca.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "analysis/report_error.h"
#include "listing/matrix_print.h"
#include "base/storage.h"
#include "nsca/calsvd.h"
#include "nsca/supcol.h"
#include "plot/joint_plots.h"

// Squares are formed as x*x of the double, which is what a real power of 2
// gives; every threshold is kAxisThreshold (1e-06).

namespace marvist {
namespace {

using Labels = std::span<const std::string>;

void fail_for_memory(RunState& rs) { fail(rs, ErrorCode::Memory); }

bool is_fatal(const RunState& rs) { return rs.fatal_state == kFatal; }

Labels as_labels(const Vector<std::string>& v) { return {v.data(), static_cast<std::size_t>(v.size())}; }

// Principal column coordinates g_jk = v_jk·λ_k / sqrt(p_.j), in place of the
// standard ones in G, and the length of every column over all K axes.
// A column of mass (practically) zero stays at the origin.
void principal_columns(Matrix<double>& G, Vector<double>& length, const Vector<double>& W,
                       const Vector<double>& col_margins, int J, int K) {
    for (int j = 1; j <= J; ++j) {
        const double s = std::sqrt(col_margins(j));
        double sum = 0.0;
        for (int k = 1; k <= K; ++k) {
            const double g = s < kAxisThreshold ? 0.0 : G(j, k) * W(k) / s;
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

// Lists the column coordinates (with the supplementary columns appended
// when there are any) and draws the joint plots: rows in standard, columns
// in principal coordinates. On a failure fatal_state is 3 on return.
// Coordinates that are all 0 give a plot no scale: it writes a notice
// instead of a picture. A stop of the program by a plot (ProgramStop)
// passes through; the listing written so far is closed as it unwinds.
void column_coordinates_and_plots(const Matrix<double>& F, const Matrix<double>& G, const Vector<double>& row_margins,
                                  const Matrix<std::int32_t>& supp_counts, int I, int J, int n_supp,
                                  Labels col_labels, Labels captions, RecordSink& listing, RunState& rs) {
    const int K = rs.n_axes;
    if (n_supp == 0) {
        write_records(listing, "(/,' Principal coordinates for columns',/,' (scaled right singular vectors)  - ',A)",
                      {rs.col_variable});
        if (!print_labelled_matrix(G.data(), col_labels, captions, J, K, ColumnLabels::Omitted, Decimals::Three, listing)) fail(rs, ErrorCode::Memory);
        DrawJointPlots(F, G, I, J, K, listing, rs);
        return;
    }

    const int n_points = J + n_supp;
    Vector<std::string> labels;  // the column labels, then "Suppl " for each supplementary column
    Matrix<double> Gplus;        // principal coordinates of all column points
    if (!obtain(labels, n_points) || !obtain(Gplus, n_points, K)) return fail_for_memory(rs);
    for (int j = 1; j <= J; ++j) labels(j) = col_labels[static_cast<std::size_t>(j - 1)];
    for (int s = 1; s <= n_supp; ++s) labels(J + s) = "Suppl ";
    for (int k = 1; k <= K; ++k) {
        for (int j = 1; j <= J; ++j) Gplus(j, k) = G(j, k);
    }

    supcol(F, Gplus, row_margins, supp_counts, I, J, n_supp, rs);
    if (is_fatal(rs)) return;

    write_records(listing, "(/,' Principal coordinates including supplementary columns - ',A)", {rs.col_variable});
    if (!print_labelled_matrix(Gplus.data(), as_labels(labels), captions, n_points, K, ColumnLabels::Omitted, Decimals::Three, listing)) fail(rs, ErrorCode::Memory);
    labels.release();
    DrawJointPlots(F, Gplus, I, n_points, K, listing, rs);
}

// Residuals X = observed - implied centred profiles, in place, with the
// log-likelihood ratio statistic of the fitted counts and the sum of squared
// residuals. Columns outer, rows inner.
void residuals(Matrix<double>& X, const Matrix<double>& A, const Vector<double>& row_margins,
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
            X(i, j) = r;
            SS += r * r;
        }
    }
}

void write_fit(double G2, int df, int K, double rms, RecordSink& listing) {
    // clang-format off
    write_records(listing, "(/,/,'                   FIT INFORMATION',/,'                   ***************',/,/,' LogLikelihood Ratio (G2) ',F10.4,' df = ',I3,/,' ══════════════════════════════════════════════',/,' This statistic (informally) tests whether the model with,',/,I2,' dimensions fits well or not.',/,' Unfortunately, the often large number of observations may',/,' make the statistic less useful.',/,' In principle the statistic can be used to compare models',/,' with different numbers of dimensions by computing both',/,' the differences between the G2s and the dfs.')",
                  {G2, df, K});
    // clang-format on
    write_records(listing, "(/,' Root Mean Square of Residuals',F10.4,/,' ════════════════════════════════════════',/,/)",
                  {rms});
}

// Contributions of the columns: G(j,k) becomes the column's share of the
// principal inertia of axis k, T(j) the part of the column's contribution to
// tau that the K axes account for.
void column_contributions(Matrix<double>& G, double* T, const Vector<double>& W, const Vector<double>& col_margins,
                          const Vector<double>& work_cols, int J, int K) {
    for (int j = 1; j <= J; ++j) T[j - 1] = 0.0;
    for (int k = 1; k <= K; ++k) {
        const double inertia = W(k) * W(k);
        for (int j = 1; j <= J; ++j) {
            const double c = col_margins(j) * (G(j, k) * G(j, k));
            T[j - 1] += c;
            G(j, k) = c / inertia;
        }
    }
    // A column that carries no part of tau has nothing to account for: 0, not 0/0.
    for (int j = 1; j <= J; ++j) T[j - 1] = work_cols(j) == 0.0 ? 0.0 : T[j - 1] / work_cols(j);
}

// Contributions of the axes to the rows: F(i,k) becomes (u_ik·λ_k)² over the
// row's part of tau, R(i) their sum over the K axes.
void row_contributions(Matrix<double>& F, double* R, const Vector<double>& W, const Vector<double>& work_rows, int I,
                       int K) {
    for (int i = 1; i <= I; ++i) R[i - 1] = 0.0;
    for (int k = 1; k <= K; ++k) {
        for (int i = 1; i <= I; ++i) {
            const double x = F(i, k) * W(k);
            // A row that carries no part of tau gets 0, not 0/0.
            const double c = work_rows(i) == 0.0 ? 0.0 : x * x / work_rows(i);
            F(i, k) = c;
            R[i - 1] += c;
        }
    }
}

}  // namespace

void nsca(Matrix<double>& work_matrix, const Vector<double>& row_margins, const Vector<double>& col_margins,
          const Matrix<std::int32_t>& supp_counts, const Vector<double>& work_rows, const Vector<double>& work_cols,
          std::int64_t total_n, int I, int J, int n_supp, int n_supp_dim, Labels row_labels, Labels col_labels,
          RecordSink& listing, RunState& rs) {
    Matrix<double>& X = work_matrix;
    if (I < 1 || J < 1 || n_supp < 0 || n_supp_dim < std::max(n_supp, 1) || X.rows() != I || X.cols() < J ||
        row_margins.size() < I || col_margins.size() < J || work_rows.size() < I || work_cols.size() < J ||
        (n_supp > 0 && (supp_counts.rows() < I || supp_counts.cols() < n_supp)) ||
        row_labels.size() < static_cast<std::size_t>(I) || col_labels.size() < static_cast<std::size_t>(J))
        throw std::invalid_argument("nsca: array smaller than its dimensions");

    // Sizes follow the number of axes asked for; calsvd may lower it.
    const int L = std::max(I, J);
    const int K_asked = rs.n_axes;
    Vector<double> W;                   // singular values
    Matrix<double> F;                   // u_ik, later the row contributions
    Matrix<double> G;                   // v_jk, then g_jk, then the column shares
    Vector<double> scratch;             // svd work space, later the column and row totals
    Vector<std::string> axis_captions;  // column labels of the axis matrices; never shown
    Matrix<double> A;                   // the data, with rows I+1..L zero
    Vector<double> length;              // column lengths
    if (!obtain(W, J) || !obtain(F, I, K_asked) || !obtain(G, J, K_asked) || !obtain(scratch, L) ||
        !obtain(axis_captions, K_asked) || !obtain(A, L, J) || !obtain(length, J))
        return fail_for_memory(rs);
    for (std::string& caption : axis_captions) caption = std::string(6, ' ');
    const Labels captions = as_labels(axis_captions);

    write_records(listing,
                  "(/,' ',78('═'),/,'     Non-symmetric correspondence analysis à la Lauro & D_Ambra',/,' ',78('═'),/)");

    for (int j = 1; j <= J; ++j) {
        for (int i = 1; i <= I; ++i) A(i, j) = X(i, j);
    }

    int d = 0;
    calsvd(A, F, G, W, scratch, L, I, J, d, row_labels, col_labels, listing, rs);
    if (is_fatal(rs)) return;
    const int K = rs.n_axes;

    principal_columns(G, length, W, col_margins, J, K);
    implied_profiles(X, F, G, I, J, K);

    column_coordinates_and_plots(F, G, row_margins, supp_counts, I, J, n_supp, col_labels, captions, listing, rs);
    if (is_fatal(rs)) return;

    write_records(listing, "(/,' ',78('─'),/,'           Supplementary information on the NSCA solution',/,' ',78('─'),/)");
    write_records(listing, "(/,' Implied centred column profiles',/,' Row variable: ',A,'; Column variable: ',A,/)",
                  {rs.row_variable, rs.col_variable});
    if (!print_labelled_matrix(X.data(), row_labels, col_labels, I, J, ColumnLabels::Shown, Decimals::Three, listing)) fail(rs, ErrorCode::Memory);

    double G2 = 0.0, SS = 0.0;
    residuals(X, A, row_margins, col_margins, static_cast<double>(total_n), I, J, G2, SS);
    write_records(listing,
                  "(/,' Residuals: Not fitted part of centred column profiles',/,' Row variable: ',A,'; Column variable: ',A,/)",
                  {rs.row_variable, rs.col_variable});
    if (!print_labelled_matrix(X.data(), row_labels, col_labels, I, J, ColumnLabels::Shown, Decimals::Three, listing)) fail(rs, ErrorCode::Memory);

    const double rms = std::sqrt(SS / static_cast<double>(std::int64_t{I} * J));
    const int df = (J - K - 1) * (I - K - 1);
    write_fit(G2, df, K, rms, listing);

    double* totals = scratch.data();  // T (J values), later R (I values)
    column_contributions(G, totals, W, col_margins, work_cols, J, K);
    write_records(listing,
                  "(/,' Proportional contribution of columns (',A,') to axes',/,'  (absolute contributions sum to eigenvalues)')",
                  {rs.col_variable});
    if (!print_labelled_matrix(G.data(), col_labels, captions, J, K, ColumnLabels::Omitted, Decimals::Three, listing)) fail(rs, ErrorCode::Memory);
    write_records(listing,
                  "(/,' Proportional contribution of the ',I2,' axes',/,' to',' column ( ',A,') contribution to tau')",
                  {K, rs.col_variable});
    if (!print_labelled_matrix(totals, captions, col_labels, 1, J, ColumnLabels::Shown, Decimals::Three, listing)) fail(rs, ErrorCode::Memory);
    write_records(listing, "(/,' Column lengths in two-dimensional biplot - ',A)", {rs.col_variable});
    if (!print_labelled_matrix(length.data(), captions, col_labels, 1, J, ColumnLabels::Shown, Decimals::Three, listing)) fail(rs, ErrorCode::Memory);

    row_contributions(F, totals, W, work_rows, I, K);
    write_records(listing,
                  "(/,' Proportional contribution of axes to the increase in',' predictability of rows',/,' plus total contribution of all axes - ',A)",
                  {rs.row_variable});
    if (!print_labelled_matrix_with_summary(F.data(), totals, row_labels, captions, I, K, SummaryKind::Sum, ColumnLabels::Omitted, listing)) fail(rs, ErrorCode::Memory);
}

}  // namespace marvist
