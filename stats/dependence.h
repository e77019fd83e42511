// Tau both ways with chi-square approximations, the contributions to Tau_a,
// Pearson's chi-square and the Light & Margolin analysis of variance.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "analysis/run_state.h"
#include "base/layout.h"
#include "base/matrix.h"

namespace marvist {

// freq          I x J counts as reals                               (in)
// work_matrix   I x J centred column profiles times sqrt(c(j))      (out, for NSCA)
// row_profiles  I x J f(i,j)/f(i,.)                                 (in)
// col_profiles  I x J f(i,j)/f(.,j)                                 (in)
// row_margins   I proportions r(i);  col_margins  J proportions c(j) (in)
// row_labels, col_labels  six-character labels                      (in)
// I, J          dimensions;  total_n  N                             (in)
// work_rows     I raw contributions of the rows to Tau_a's numerator (out)
// work_cols     J raw contributions of the columns                  (out)
// listing       the listing; result blocks also go to rs.standard_output
// Sets rs.fatal_state to 1 (after warning 200) when Tau_a is 0.
void compute_dependence(const Matrix<double>& freq, Matrix<double>& work_matrix,
                        const Matrix<double>& row_profiles, const Matrix<double>& col_profiles,
                        const Vector<double>& row_margins, const Vector<double>& col_margins,
                        std::span<const std::string> row_labels, std::span<const std::string> col_labels,
                        int I, int J, std::int64_t total_n, Vector<double>& work_rows,
                        Vector<double>& work_cols, RecordSink& listing, RunState& rs);

}  // namespace marvist
