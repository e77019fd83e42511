// Set-up files (.set): the parameters of one job as nine or ten text lines,
// so that a job can be run again later.
//
//   line 1   title (70)                          read "(A)": leading blank kept,
//                                                the 70th character falls away
//   line 2   n_rows_text (10), ' ', row_variable   free form: two values; the
//   line 3   n_cols_text (10), ' ', col_variable   name ends at a blank or comma
//   line 4   has_labels                          free form: one integer
//   line 5   job_name, trimmed                   read "(A)" into 80 characters
//   line 6   data_file, trimmed                  read "(A)"
//   line 7   label_file, trimmed (only when has_labels is positive)
//   next     "data_format"                       free form: one quoted value
//   next     dependence do_nsca do_homogenise do_symmetry   free form
//   last     n_axes_text (10) n_supp_text (10)   read "(A,A)": both fields
//                                                shifted by the leading blank
//
// Leading blanks that reading leaves on names and numbers are removed by the
// job form's read-back (app/job_form.h). The file dialogs and message boxes
// around these operations belong to the desktop program.
#pragma once

#include <string>
#include <string_view>

#include "analysis/job_record.h"
#include "base/layout.h"

namespace marvist {

// Outcome of reading or writing a set-up file.
struct SetupFileStatus {
    bool ok = true;
    std::string message;  // on failure: names the file and says what is wrong
};

// The lines of the set-up file of a job, written in free form to out.
//   out: destination of the records (code-page-437 bytes).
//   job: the fields as the user entered them.
void write_setup_records(RecordSink& out, const JobRecord& job);

// Reads the lines of a set-up file into job. Only title, n_rows_text,
// row_variable, n_cols_text, col_variable, has_labels, job_name, data_file,
// label_file (when has_labels is positive), data_format, dependence, do_nsca,
// do_homogenise, do_symmetry, n_axes_text and n_supp_text are set.
// A source that ends early, or a line whose values cannot be read, is a
// failure whose message names the line and what it should hold; job is then
// left unchanged (reading goes into a copy).
//   in:  the records of the file, from its first line.
//   job: the record to fill.
SetupFileStatus read_setup_records(RecordSource& in, JobRecord& job);

// Writes the set-up file of job to file_name (created, or overwritten from
// its start). Trailing blanks of file_name do not belong to the name.
SetupFileStatus write_setup_file(std::string_view file_name, const JobRecord& job);

// Reads the set-up file file_name into job; on any failure (no such file, an
// empty, short or garbled file) job is unchanged and the message names the
// file and the problem.
SetupFileStatus read_setup_file(std::string_view file_name, JobRecord& job);

}  // namespace marvist
