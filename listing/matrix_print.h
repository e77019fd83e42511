// The three printers through which every matrix and vector of the listing
// goes: blocks of ten columns, each with a line of column numbers, a line of
// column labels, a rule, and one line per row (number, key, label, values).
//
// values are nrow x ncol, column-major with leading dimension nrow. Labels
// are six-character texts; row labels are not read when nrow is 1.
// On a storage failure a printer writes nothing, reports code 37 (fatal) and
// sets rs.fatal_state to 3.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "analysis/run_state.h"
#include "base/layout.h"

namespace marvist {

// Real values as F7.3, or F7.1 when one_decimal is not 0; the column-label
// line is left out when no_col_labels is not 0.
void print_labelled_matrix(const double* values, std::span<const std::string> row_labels,
                           std::span<const std::string> col_labels, int nrow, int ncol, int no_col_labels,
                           int one_decimal, RecordSink& listing, RunState& rs);

// Counts as I7.
void print_labelled_int_matrix(const std::int32_t* values, std::span<const std::string> row_labels,
                               std::span<const std::string> col_labels, int nrow, int ncol, int no_col_labels,
                               RecordSink& listing, RunState& rs);
void print_labelled_int_matrix(const std::int64_t* values, std::span<const std::string> row_labels,
                               std::span<const std::string> col_labels, int nrow, int ncol, int no_col_labels,
                               RecordSink& listing, RunState& rs);

// Real values as F7.3 with a leading summary column (one value per row),
// headed by nothing (summary_kind 0), "Sum" (1) or "Mean" (2).
void print_labelled_matrix_with_summary(const double* values, const double* summary,
                                        std::span<const std::string> row_labels,
                                        std::span<const std::string> col_labels, int nrow, int ncol,
                                        int summary_kind, int no_col_labels, RecordSink& listing, RunState& rs);

}  // namespace marvist
