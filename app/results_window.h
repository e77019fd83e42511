// The results of the last job as data in the desktop program: the "Results
// of Marvist" window, one tab per result table (export/result_tables.h),
// whose cells copy as tab-separated text; and File > Export Results, which
// writes the same tables as the batch runner's --export.
#pragma once

#include <string>

#include "analysis/job_results.h"
#include "app/session.h"
#include "app/windowing.h"
#include "export/result_tables.h"

namespace marvist {

// After a job: keeps its results when it ended without a fatal error and
// lets the two commands be chosen; otherwise both stay greyed.
void keep_results(Session& session, JobResults results);
// Before a job: closes the Results window and forgets the last results;
// both commands are greyed.
void forget_results(Session& session);

// Command 40: opens the Results window (or brings it to the front).
void ShowResults(Session& session);

// Command 41: asks for a folder, then for the number of permutations (0 for
// none) and their seed; runs the permutation test when asked for and writes
// the export; says where it went, or which path could not be written and why.
// The Results window, when open, then shows the permutation test too.
void ExportResults(Session& session);

// The block's cells as tab-separated text for a spreadsheet, one line per
// row, with the column names first when the block holds every row. A field
// that holds a tab, a line end or a double quote is put in double quotes,
// its quotes doubled.
std::string tab_separated(const ResultTable& table, const ui::CellBlock& block);

}  // namespace marvist
