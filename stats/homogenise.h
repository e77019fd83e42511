// Homogenisation of the margins by iterative proportional fitting.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "analysis/run_state.h"
#include "base/layout.h"
#include "base/matrix.h"

namespace marvist {

// counts  I x J table (not changed); labels six characters each.
// Writes to the listing and to rs.standard_output; reads rs.row_variable and
// rs.col_variable; sets rs.fatal_state to 3 when storage cannot be obtained.
void homogenise_margins(const Matrix<std::int32_t>& counts, int I, int J,
                        std::span<const std::string> row_labels, std::span<const std::string> col_labels,
                        RecordSink& listing, RunState& rs);

}  // namespace marvist
