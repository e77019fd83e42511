// Supplementary predictor columns placed in the column space of a finished
// NSCA solution, by the transition formula that links the active columns
// to the standard row coordinates.
#pragma once

#include <cstdint>

#include "analysis/run_state.h"
#include "base/matrix.h"

namespace marvist {

// u            I rows, at least K columns: standard row coordinates            (in)
// Gplus        (J + n_supp) rows, at least K columns: principal column
//              coordinates; rows J+1..J+n_supp are filled here                 (in/out)
// row_margins  I proportions p_i. of the active table                          (in)
// S            I rows, at least n_supp columns: counts of the supplementary
//              columns                                                         (in)
// I, J, n_supp rows, active columns, supplementary columns                     (in)
// rs           K is rs.n_axes; on a storage failure code 37 is reported,
//              fatal_state is set to 3 and the rows are left unset
// A column whose counts add up to 0 has no profile and is put at the origin.
// Throws std::invalid_argument when an array is smaller than the sizes say.
void supcol(const Matrix<double>& u, Matrix<double>& Gplus, const Vector<double>& row_margins,
            const Matrix<std::int32_t>& S, int I, int J, int n_supp, RunState& rs);

}  // namespace marvist
