#include "stats/homogenise.h"

#include <cmath>
#include <limits>

#include "analysis/report_error.h"
#include "listing/matrix_print.h"
#include "base/storage.h"

namespace marvist {
namespace {

constexpr double kTolerance = 1e-08;
constexpr int kIterationLimit = 200;

// Adds 0.5 and truncates toward zero: rounding with halves going up for the
// non-negative values met here. The values are bounded by N, which a 64-bit
// integer holds; the guard keeps the conversion defined whatever comes in.
std::int64_t round_half_up(double x) {
    const double y = x + 0.5;
    if (!(y < std::ldexp(1.0, 63))) return std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(y);
}

// Writes one block to the standard output copy (when there is one), then to
// the listing.
void write_both(RecordSink& listing, RunState& rs, std::string_view layout, std::initializer_list<Value> values) {
    if (rs.standard_output != nullptr) write_records(*rs.standard_output, layout, values);
    write_records(listing, layout, values);
}

}  // namespace

void homogenise_margins(const Matrix<std::int32_t>& counts, int I, int J,
                        std::span<const std::string> row_labels, std::span<const std::string> col_labels,
                        RecordSink& listing, RunState& rs) {
    Matrix<double> table;                 // working table T, rescaled in place
    Vector<double> row_sums;              // current row totals of T
    Vector<double> col_sums;              // current column totals of T
    Matrix<std::int64_t> rounded;         // T rounded for printing
    Vector<std::int64_t> rounded_rows;    // row target rounded
    Vector<std::int64_t> rounded_cols;    // column target rounded
    if (!obtain(table, I, J) || !obtain(row_sums, I) || !obtain(col_sums, J) || !obtain(rounded, I, J) ||
        !obtain(rounded_rows, I) || !obtain(rounded_cols, J)) {
        fail(rs, ErrorCode::Memory);
        return;
    }

    double n = 0.0;
    for (int i = 1; i <= I; ++i) {
        for (int j = 1; j <= J; ++j) {
            table(i, j) = static_cast<double>(counts(i, j));
            n += table(i, j);
            row_sums(i) += table(i, j);
            col_sums(j) += table(i, j);
        }
    }

    const double row_target = n / I;
    const double col_target = n / J;
    // The sums start N times too large: the first sweep then cannot pass the
    // convergence test, and the column step restores the scale.
    for (int i = 1; i <= I; ++i) row_sums(i) = row_sums(i) * n;
    for (int j = 1; j <= J; ++j) col_sums(j) = col_sums(j) * n;

    write_both(listing, rs,
               "(/,' ',78('═'),/,'               Homogenise margins of input contingency table',/,' ',78('═'),/)",
               {});

    for (int k = 1;; ++k) {
        if (rs.standard_output != nullptr)
            write_records(*rs.standard_output, k == 1 ? "(' Iteration ',I4)" : "('+Iteration ',I4)", {k});

        // Row step: every row to the row target.
        for (int j = 1; j <= J; ++j) col_sums(j) = 0.0;
        for (int i = 1; i <= I; ++i) {
            for (int j = 1; j <= J; ++j) {
                table(i, j) = table(i, j) * row_target / row_sums(i);
                col_sums(j) += table(i, j);
            }
        }

        // Column step: every column to the column target.
        for (int i = 1; i <= I; ++i) row_sums(i) = 0.0;
        for (int j = 1; j <= J; ++j) {
            for (int i = 1; i <= I; ++i) {
                table(i, j) = table(i, j) * col_target / col_sums(j);
                row_sums(i) += table(i, j);
            }
        }

        double row_deviation = 0.0;
        for (int i = 1; i <= I; ++i) row_deviation += std::fabs(row_sums(i) - row_target);
        double col_deviation = 0.0;
        for (int j = 1; j <= J; ++j) col_deviation += std::fabs(col_sums(j) - col_target);

        if (row_deviation < kTolerance && col_deviation < kTolerance) {
            write_both(listing, rs, "(/,' Iteration for homogenising the margins has converged',' in ',I3,' steps',/)",
                       {k});
            break;
        }
        if (k > kIterationLimit) {
            write_both(listing, rs, "(/,' Maximum number of iterations (',I4,') reached',/)", {k});
            break;
        }
    }

    for (int j = 1; j <= J; ++j) rounded_cols(j) = round_half_up(col_target);
    for (int i = 1; i <= I; ++i) rounded_rows(i) = round_half_up(row_target);
    for (int j = 1; j <= J; ++j)
        for (int i = 1; i <= I; ++i) rounded(i, j) = round_half_up(table(i, j));

    write_records(listing,
                  "('              Table with homogenised margins',/,'              ──────────────────────────────',/,"
                  "'   (Rows = ',A,'; Columns = ',A,')')",
                  {rs.row_variable, rs.col_variable});
    if (!print_labelled_int_matrix(rounded.data(), row_labels, col_labels, I, J, ColumnLabels::Shown, listing)) fail(rs, ErrorCode::Memory);

    write_records(listing, "(/,' Values of row marginals ',I8)", {rounded_rows(1)});
    write_records(listing, "(/,' Values of column marginals ',I8)", {rounded_cols(1)});

    const std::int64_t average = round_half_up(static_cast<double>(rounded_rows(1)) / J);
    write_records(listing,
                  "(/,' Average value for entry in table ',I8,/,' Values deviating from the average indicate presence of ',"
                  "'interaction',/)",
                  {average});
}

}  // namespace marvist
