// Symmetric and skew-symmetric parts of a square table.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "analysis/run_state.h"
#include "base/layout.h"
#include "base/matrix.h"

namespace marvist {

// counts  I x J table with I = J (not changed); labels six characters each.
// Sets rs.fatal_state to 3 when storage cannot be obtained.
void analyse_symmetry(const Matrix<std::int32_t>& counts, int I, int J,
                      std::span<const std::string> row_labels, std::span<const std::string> col_labels,
                      RecordSink& listing, RunState& rs);

}  // namespace marvist
