// Nonsymmetric correspondence analysis of an I x J table whose rows depend
// on its columns: the decomposition of the weighted centred column profiles,
// principal column coordinates (with supplementary predictor columns),
// implied profiles and residuals, the fit statistics and the contributions
// of axes, columns and rows to tau.
#pragma once

#include <cstdint>

#include "base/diagnostics.h"
#include "base/matrix.h"
#include "nsca/calsvd.h"

namespace marvist {

// Where the analysis stopped short; everything before that point is set.
enum class NscaFailure {
    None,
    NoStorage,               // its working storage: nothing computed
    NoDecompositionStorage,  // the singular vectors' storage
    NotConverged,            // the decomposition did not converge (ierr)
    NoSupplementaryStorage,  // the supplementary columns' storage: the
                             // coordinates stand, the rest is not computed
    NoFitStorage,            // the residuals' storage: the coordinates and the
                             // implied profiles stand, the fit is not computed
};

// The report a failure raises: the memory error, or the decomposition's.
ErrorCode failure_code(NscaFailure failure);

// Matrices with K columns hold the first n_axes columns of their storage,
// which has as many as were asked for.
struct NscaResult {
    NscaFailure failure = NscaFailure::None;
    int ierr = 0;                    // the decomposition's IERR when it did not converge
    int n_axes = 0;                  // K: the axes asked for, lowered to the usable ones
    Vector<double> singular_values;  // J values, descending
    InertiaTable inertias;           // the table of singular values and principal inertias
    Matrix<double> row_standard;     // I x K: u_ik, standard row coordinates
    Matrix<double> col_standard;     // J x K: v_jk, standard column coordinates
    Matrix<double> col_principal;    // J x K: g_jk = v_jk * lambda_k / sqrt(p_.j)
    Matrix<double> supp_principal;   // n_supp x K: the supplementary columns
    Vector<double> col_lengths;      // J: length of g_j over the K axes
    Matrix<double> implied;          // I x J: implied centred column profiles
    Matrix<double> residuals;        // I x J: observed minus implied
    double g2 = 0.0;                 // log-likelihood ratio statistic of the fitted counts
    int df = 0;                      // (J - K - 1)(I - K - 1)
    double rms = 0.0;                // root mean square of the residuals
    Matrix<double> col_axis_shares;  // J x K: column's share of axis k's principal inertia
    Vector<double> col_explained;    // J: part of the column's contribution to tau the K axes account for
    Matrix<double> row_axis_shares;  // I x K: axis k's part of the row's increase in predictability
    Vector<double> row_explained;    // I: their sum over the K axes
};

// weighted     I x J centred column profiles times sqrt(p_.j); its storage
//              becomes the implied profiles                                  (in)
// row_margins  I proportions p_i.;  col_margins  J proportions p_.j          (in)
// supp_counts  I rows, at least n_supp columns: the supplementary columns     (in)
// row_parts    I parts of the numerator of tau that the rows carry           (in)
// col_parts    J parts that the columns carry                                (in)
// total_n      N;  I, J  rows and columns                                   (in)
// n_supp       supplementary columns, 0 or more                              (in)
// n_axes       the number of axes asked for, at least 1                      (in)
// path         how the singular vectors are computed (calsvd)                (in)
// Throws std::invalid_argument when an array is smaller than the sizes say.
NscaResult nsca(Matrix<double> weighted, const Vector<double>& row_margins, const Vector<double>& col_margins,
                const Matrix<std::int32_t>& supp_counts, const Vector<double>& row_parts,
                const Vector<double>& col_parts, std::int64_t total_n, int I, int J, int n_supp, int n_axes,
                SvdPath path = SvdPath::Fast);

}  // namespace marvist
