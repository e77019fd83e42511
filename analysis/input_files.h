// The three files of a job and the reading of its labels and counts.
//
//   open_job_files  open the listing, data and label files, then check_table_size
//   check_table_size  check the sizes; bring the number of NSCA axes into range
//   read_labels     six-character labels, "(13A6)": row labels, then column labels
//   read_table      the counts and supplementary predictors, in the user's
//                   layout or in free format
//
// Failures are reported through fail() (run_state.h), which sets
// rs.fatal_state to 3.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "analysis/job_record.h"
#include "analysis/run_state.h"
#include "base/matrix.h"
#include "base/record_io.h"

namespace marvist {

// The file of an 80-character name field (its trailing blanks do not belong
// to it); a relative name is taken from base_folder (empty: the working folder).
std::string job_file_path(std::string_view field, const std::string& base_folder);

// The files open during a job; each closes itself when the job is over.
struct JobFiles {
    OutputFile listing;
    InputFile data;
    InputFile labels;
};

// n_rows, n_cols  table size in the orientation of the data file
// do_nsca         1: NSCA requested (the number of axes is checked)
// n_supp          number of supplementary predictors (negative: code 160)
// files           opened here
// output_file, data_file, label_file  80-character name fields
// has_labels      positive: the label file is opened
// base_folder     relative names are taken from this folder (empty: the working folder)
// rs              n_axes is brought into range; reports; fatal_state
void open_job_files(int n_rows, int n_cols, int do_nsca, int n_supp, JobFiles& files,
                    std::string_view output_file, std::string_view data_file, std::string_view label_file,
                    int has_labels, const std::string& base_folder, RunState& rs);

// The checks of open_job_files once its files are open: at least 2 rows and
// 2 columns, no negative number of supplementary predictors, and (NSCA
// requested) a number of axes between 1 and min(n_rows, n_cols) - 1, set so
// with a warning. Every check is made, whatever the ones before found.
void check_table_size(int n_rows, int n_cols, int do_nsca, int n_supp, RunState& rs);

// row_labels  at least n_rows entries of six characters; the first n_rows are read
// col_labels  at least n_cols entries; the first n_cols are read
// labels      the open label file, closed here in every case
void read_labels(std::span<std::string> row_labels, std::span<std::string> col_labels, int n_rows, int n_cols,
                 InputFile& labels, RunState& rs);

// data         the open data file (any record source)
// data_format  70-character field: '*' first means free format, else a layout
// n_rows, n_cols, n_supp  sizes in the orientation of the file (n_supp >= 0)
// dependence   0: counts is n_rows x n_cols, supp_counts n_rows x S, one read
//                 per row with its S predictors after the J counts;
//              1: counts is n_cols x n_rows (row i of the file becomes column i),
//                 supp_counts n_cols x S, one read per supplementary record
// counts, supp_counts  already sized by the caller
// A count outside 0 .. 2147483647 is an input error (512).
void read_table(RecordSource& data, std::string_view data_format, int n_rows, int n_cols, int n_supp,
                int dependence, Matrix<std::int32_t>& counts, Matrix<std::int32_t>& supp_counts, RunState& rs);

}  // namespace marvist
