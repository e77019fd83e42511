// A job's results as tables of data: what the export writes, one CSV file
// per table, and what the desktop program's Results window shows, one tab
// per table. Long ("tidy") form: one row per cell, category or measure,
// columns named for what they hold. Only analyses that the job ran have
// tables.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "analysis/job_results.h"
#include "export/data_package.h"
#include "stats/permutation_test.h"

namespace marvist {

// One value: empty (a value that does not exist), an integer, a real, a
// flag or UTF-8 text.
using Cell = std::variant<std::monostate, std::int64_t, std::uint64_t, double, bool, std::string_view>;

struct ResultColumn {
    FieldSpec field;                             // name, type, one-line description
    std::function<Cell(std::int64_t row)> cell;  // the value in row 0 ... rows - 1
};

struct ResultTable {
    std::string name;   // the file name without ".csv", and the resource name
    std::string title;  // one line, the caption of its tab
    std::int64_t rows = 0;
    std::vector<ResultColumn> columns;
};

// The tables of a job that has read its table, in a fixed order: the table,
// margins and profiles; the dependence measures with their p-values (and
// the permutation test when there is one), the contributions to Tau_a and
// the analysis of variance; the NSCA axes, coordinates, categories, fit
// figures and implied profiles with residuals; the homogenised table and
// its sweeps; the symmetric and skew-symmetric parts.
// The tables read results and permutation, which must outlive them.
std::vector<ResultTable> result_tables(const JobResults& results, const std::optional<PermutationResult>& permutation);

// The permutation test of the job's table, with the margins as analysed;
// nothing when options ask for no permutations or the job computed no
// dependence measures.
std::optional<PermutationResult> permutation_test_of(const JobResults& results, const PermutationOptions& options);

// A label or variable name as data: code page 437 to UTF-8, trailing blanks
// removed.
std::string text_of(std::string_view cp437);

}  // namespace marvist
