// The three printers through which every matrix and vector of the listing
// goes: blocks of ten columns, each with a line of column numbers, a line of
// column labels, a rule, and one line per row (number, key, label, values).
//
// values are nrow x ncol, column-major with leading dimension nrow. Labels
// are six-character texts; row labels are not read when nrow is 1, column
// labels not when their line is omitted.
// Each printer returns false, having written nothing, when the storage for
// the column numbers cannot be obtained: the caller's memory error.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "base/layout.h"

namespace marvist {

// Whether a block has its line of column labels.
enum class ColumnLabels { Shown, Omitted };

// How real values are written.
enum class Decimals {
    Three,  // F7.3
    One,    // F7.1
};

// The heading of the summary column.
enum class SummaryKind { None, Sum, Mean };

[[nodiscard]] bool print_labelled_matrix(const double* values, std::span<const std::string> row_labels,
                                         std::span<const std::string> col_labels, int nrow, int ncol,
                                         ColumnLabels column_labels, Decimals decimals, RecordSink& listing);

// Counts as I7.
[[nodiscard]] bool print_labelled_int_matrix(const std::int32_t* values, std::span<const std::string> row_labels,
                                             std::span<const std::string> col_labels, int nrow, int ncol,
                                             ColumnLabels column_labels, RecordSink& listing);
[[nodiscard]] bool print_labelled_int_matrix(const std::int64_t* values, std::span<const std::string> row_labels,
                                             std::span<const std::string> col_labels, int nrow, int ncol,
                                             ColumnLabels column_labels, RecordSink& listing);

// Real values as F7.3 after a leading summary column (one value per row).
[[nodiscard]] bool print_labelled_matrix_with_summary(const double* values, const double* summary,
                                                      std::span<const std::string> row_labels,
                                                      std::span<const std::string> col_labels, int nrow, int ncol,
                                                      SummaryKind summary_kind, ColumnLabels column_labels,
                                                      RecordSink& listing);

}  // namespace marvist
