// The export of a job's results: one CSV file per result table
// (export/result_tables.h) and datapackage.json describing them, written
// into a folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "analysis/job_results.h"
#include "export/data_package.h"
#include "export/result_tables.h"
#include "base/staged_file.h"
#include "stats/permutation_test.h"

namespace marvist {

// Appends one cell as a CSV field (export/csv_text.h).
void append_csv_cell(std::string& record, const Cell& cell);
// The cell's value as its CSV field holds it, unquoted: what a window shows.
std::string cell_text(const Cell& cell);

// Writes each table, its header (the column names) and its rows, to the file
// of the same place. The rows are formatted in blocks on the processor's
// cores, a few blocks ahead of the writing, and written in order by the
// calling thread; a write that fails stops the rest (the file keeps the error).
void write_csv_tables(std::vector<StagedFile>& files, const std::vector<ResultTable>& tables);

// The data package of the tables: the job's name, title and variable names,
// and NAME.csv with its fields for every table.
PackageSpec package_of(const JobResults& results, const std::vector<ResultTable>& tables);

// Writes NAME.csv for every table of the results and datapackage.json into
// folder, which is created when absent. Every file is written under a
// temporary name and all are renamed into place once all are complete;
// other files in the folder are left alone.
//   permutation  the permutation test to report with the dependence measures, if any
// The folder or file that could not be made or written, and why.
std::optional<OutputError> export_results(const std::filesystem::path& folder, const JobResults& results,
                                        const std::optional<PermutationResult>& permutation);

// The names of the files export_results writes for these results.
std::vector<std::string> export_file_names(const JobResults& results, const std::optional<PermutationResult>& permutation);

}  // namespace marvist
