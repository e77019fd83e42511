// Supplementary predictor columns placed in the column space of a finished
// NSCA solution, by the transition formula that links the active columns
// to the standard row coordinates.
#pragma once

#include <cstdint>

#include "base/diagnostics.h"
#include "base/matrix.h"

namespace marvist {

// u            I rows, at least K columns: standard row coordinates            (in)
// Gsupp        at least n_supp rows and K columns: row s receives the principal
//              coordinates of supplementary column s                           (out)
// row_margins  I proportions p_i. of the active table                          (in)
// S            I rows, at least n_supp columns: counts of the supplementary
//              columns                                                         (in)
// I, n_supp, K rows, supplementary columns, axes                               (in)
// Returns ErrorCode::Memory, with Gsupp unset, when the storage for the
// profiles cannot be obtained; else ErrorCode::None.
// A column whose counts add up to 0 has no profile and is put at the origin.
// Throws std::invalid_argument when an array is smaller than the sizes say.
ErrorCode supcol(const Matrix<double>& u, Matrix<double>& Gsupp, const Vector<double>& row_margins,
                 const Matrix<std::int32_t>& S, int I, int n_supp, int K);

}  // namespace marvist
