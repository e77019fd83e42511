// Nonsymmetric correspondence analysis of an I x J table whose rows depend
// on its columns: the decomposition of the weighted centred column profiles,
// principal column coordinates (with supplementary predictor columns), the
// joint plots, implied profiles and residuals, the fit statistics and the
// contributions of axes, columns and rows to tau.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "analysis/run_state.h"
#include "base/layout.h"
#include "base/matrix.h"

namespace marvist {

// work_matrix  exactly I rows, J columns: centred column profiles times
//              sqrt(p_.j); holds the residuals on return                    (in/work)
// row_margins  I proportions p_i.;  col_margins  J proportions p_.j          (in)
// supp_counts  I x n_supp_dim counts of the supplementary columns            (in)
// work_rows    I parts of the numerator of tau that the rows carry           (in)
// work_cols    J parts that the columns carry                                (in)
// total_n      N;  I, J  rows and columns                                   (in)
// n_supp       supplementary columns, 0 or more; n_supp_dim max(1, n_supp)  (in)
// row_labels   I six-character labels;  col_labels  J labels                 (in)
// listing      the NSCA section, plots included                              (out)
// rs           n_axes is the number of axes asked for and is lowered to the
//              number of usable axes; on failure (storage, a decomposition
//              that does not converge) the code is reported and fatal_state
//              is 3 on return.
// The printer plots may stop the program (ProgramStop); that propagates.
// Throws std::invalid_argument when an array is smaller than the sizes say.
void nsca(Matrix<double>& work_matrix, const Vector<double>& row_margins, const Vector<double>& col_margins,
          const Matrix<std::int32_t>& supp_counts, const Vector<double>& work_rows, const Vector<double>& work_cols,
          std::int64_t total_n, int I, int J, int n_supp, int n_supp_dim, std::span<const std::string> row_labels,
          std::span<const std::string> col_labels, RecordSink& listing, RunState& rs);

}  // namespace marvist
