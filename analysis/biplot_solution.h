// The NSCA solution of a job's results as the input of its joint plots.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/job_results.h"
#include "biplot/biplot_input.h"

namespace marvist {

// Full names of the categories (UTF-8); an empty list takes the job's own
// full names (JobTable::row_names, col_names), and where it has none the
// six-character labels.
struct CategoryNames {
    std::vector<std::string> rows;     // the table's rows as analysed (after any exchange)
    std::vector<std::string> columns;  // its columns
};

// The solution with its K computed axes: the rows (response) in standard
// coordinates, each with its share of every axis's inertia (the square of
// its coordinate); the columns in principal coordinates with their shares
// of the axes' inertia; the supplementary columns in principal
// coordinates; the axes' shares of the total inertia; the job's title and
// variable names. Texts lose their blanks on either side. Names are the
// full names when given, else the labels (code page 437), else "R1", "C1", ...; supplementary columns are
// "Suppl", or "Suppl 1", "Suppl 2", ... when there are several. Nothing
// when the job has no solution (NSCA not asked for, skipped, or failed).
std::optional<BiplotSolution> biplot_solution(const JobResults& results, const CategoryNames& names = {});

}  // namespace marvist
