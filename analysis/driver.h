// The analysis driver: one complete job, from opening its files to the
// closing lines of the listing and of the report windows. The job's
// listing is written by the observer as the job reaches each block
// (listing/listing_writer.h writes the listing of the program).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/job_context.h"
#include "analysis/job_observer.h"
#include "analysis/job_record.h"
#include "analysis/job_results.h"
#include "base/layout.h"
#include "base/matrix.h"

namespace marvist {

// A table already in memory, in the orientation of a data file.
struct TableInput {
    Matrix<std::int32_t> counts;  // n_rows x n_cols
    // The supplementary predictors as a data file holds them: with the rows
    // dependent n_rows x n_supp (extra columns), with the columns dependent
    // n_supp x n_cols (extra rows).
    Matrix<std::int32_t> supp_counts;
    // Labels of the n_rows rows and the n_cols columns, cut or padded to six
    // characters; empty: blank labels.
    std::vector<std::string> row_labels, col_labels;
    // Full names of the rows and columns (UTF-8); empty: none.
    std::vector<std::string> row_names, col_names;
};

// Runs the job of a job record on its data and label files, writing the
// listing file output_file. The full names of the categories are taken from
// the label file's full-names file when there is one that agrees with the
// labels read (analysis/category_names.h); nothing of the listing changes.
//   job       the job's parameters. Afterwards it holds the clipped n_axes; with
//             columns dependent, the exchanged n_rows/n_cols and variable
//             names; do_nsca = 0 when tau was 0.
//   context   reports, clock, and the folder of relative file names
//   observer  writes the listing as the job reaches each block
// Returns the results; fatal_state says how the job ended. A stop of the
// program by a printer plot (ProgramStop) passes through, the files closed.
JobResults run_job(JobRecord& job, const JobContext& context, JobObserver& observer);

// The same job on a table in memory: no file is opened or read (the record's
// file names and data format are only echoed), and the listing goes to
// listing. Labels and full names are taken from the table when it has them. The table's
// sizes must be those of the job when they pass its checks
// (std::invalid_argument otherwise); a negative count is the data file's
// input error.
JobResults run_job(JobRecord& job, const TableInput& table, const JobContext& context, JobObserver& observer,
                   RecordSink& listing);

}  // namespace marvist
