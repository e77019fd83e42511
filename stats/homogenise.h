// Homogenisation of the margins by iterative proportional fitting: the
// table is rescaled until every row total is N/I and every column total
// N/J, its cross-product ratios unchanged.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "base/matrix.h"

namespace marvist {

// Sweeps stop when both deviations fall below this, or after
// kHomogeniseIterationLimit + 1 sweeps.
inline constexpr double kHomogeniseTolerance = 1e-08;
inline constexpr int kHomogeniseIterationLimit = 200;

// The figures of one sweep (a row step and a column step).
struct HomogenisationSweep {
    double row_deviation = 0.0;  // sum of |row total - row target| after the column step
    double col_deviation = 0.0;  // sum of |column total - column target| after the row step
};

struct HomogenisationResult {
    double row_target = 0.0;                  // N / I
    double col_target = 0.0;                  // N / J
    std::vector<HomogenisationSweep> sweeps;  // one per sweep, in order; their count is the steps shown
    bool converged = false;                   // false: stopped at the iteration limit
    Matrix<double> fitted;                    // I x J, the table after the last sweep
    // The fitted table rounded to whole numbers (halves up), as the listing
    // shows it: entries away from average_entry show the interaction.
    Matrix<std::int64_t> rounded;
    std::int64_t rounded_row_target = 0;  // row_target rounded
    std::int64_t rounded_col_target = 0;  // col_target rounded
    std::int64_t average_entry = 0;       // rounded_row_target / J, rounded
};

// counts  I x J table (not changed); every row and column total positive.
// Empty when the storage for the result cannot be obtained (the memory error).
std::optional<HomogenisationResult> homogenise_margins(const Matrix<std::int32_t>& counts, int I, int J);

}  // namespace marvist
