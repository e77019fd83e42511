#include "stats/homogenise.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/storage.h"

namespace marvist {
namespace {

// Rows worked on together: their elements of a column share a cache line or two.
constexpr int kTileRows = 8;

// Adds 0.5 and truncates toward zero: rounding with halves going up for the
// non-negative values met here. The values are bounded by N, which a 64-bit
// integer holds; the guard keeps the conversion defined whatever comes in.
std::int64_t round_half_up(double x) {
    const double y = x + 0.5;
    if (!(y < std::ldexp(1.0, 63))) return std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(y);
}

}  // namespace

std::optional<HomogenisationResult> homogenise_margins(const Matrix<std::int32_t>& counts, int I, int J) {
    HomogenisationResult r;
    Matrix<double>& table = r.fitted;  // working table T, rescaled in place
    Vector<double> row_sums;           // current row totals of T
    Vector<double> col_sums;           // current column totals of T
    if (!obtain(table, I, J) || !obtain(row_sums, I) || !obtain(col_sums, J) || !obtain(r.rounded, I, J))
        return std::nullopt;

    // The table as reals with its row and column sums, a tile of rows at a
    // time column by column (as the table is stored); the total then over the
    // tile's rows one after the other, adding its terms row by row.
    double n = 0.0;
    for (int top = 1; top <= I; top += kTileRows) {
        const int bottom = std::min(top + kTileRows - 1, I);
        for (int j = 1; j <= J; ++j) {
            for (int i = top; i <= bottom; ++i) {
                table(i, j) = static_cast<double>(counts(i, j));
                row_sums(i) += table(i, j);
                col_sums(j) += table(i, j);
            }
        }
        for (int i = top; i <= bottom; ++i) {
            for (int j = 1; j <= J; ++j) n += table(i, j);
        }
    }

    const double row_target = n / I;
    const double col_target = n / J;
    r.row_target = row_target;
    r.col_target = col_target;
    // The sums start N times too large: the first sweep then cannot pass the
    // convergence test, and the column step restores the scale.
    for (int i = 1; i <= I; ++i) row_sums(i) = row_sums(i) * n;
    for (int j = 1; j <= J; ++j) col_sums(j) = col_sums(j) * n;

    for (int k = 1;; ++k) {
        // Row step: every row to the row target, column by column; each
        // column's sum adds its rows in order.
        for (int j = 1; j <= J; ++j) {
            double sum = 0.0;
            for (int i = 1; i <= I; ++i) {
                table(i, j) = table(i, j) * row_target / row_sums(i);
                sum += table(i, j);
            }
            col_sums(j) = sum;
        }

        // Column step: every column to the column target.
        for (int i = 1; i <= I; ++i) row_sums(i) = 0.0;
        for (int j = 1; j <= J; ++j) {
            for (int i = 1; i <= I; ++i) {
                table(i, j) = table(i, j) * col_target / col_sums(j);
                row_sums(i) += table(i, j);
            }
        }

        HomogenisationSweep sweep;
        for (int i = 1; i <= I; ++i) sweep.row_deviation += std::fabs(row_sums(i) - row_target);
        for (int j = 1; j <= J; ++j) sweep.col_deviation += std::fabs(col_sums(j) - col_target);
        r.sweeps.push_back(sweep);

        if (sweep.row_deviation < kHomogeniseTolerance && sweep.col_deviation < kHomogeniseTolerance) {
            r.converged = true;
            break;
        }
        if (k > kHomogeniseIterationLimit) break;
    }

    r.rounded_col_target = round_half_up(col_target);
    r.rounded_row_target = round_half_up(row_target);
    for (int j = 1; j <= J; ++j)
        for (int i = 1; i <= I; ++i) r.rounded(i, j) = round_half_up(table(i, j));
    r.average_entry = round_half_up(static_cast<double>(r.rounded_row_target) / J);
    return r;
}

}  // namespace marvist
