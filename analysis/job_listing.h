// The driver's own blocks of the listing: header, parameter echo, input
// table, marginals and profiles, and the lines written for analyses that are
// not run.
#pragma once

#include <cstdint>

#include "analysis/job_arrays.h"
#include "analysis/job_record.h"
#include "analysis/run_state.h"
#include "base/layout.h"

namespace marvist {

// Box, version notice, purpose, date and time, rule.
void write_listing_header(RecordSink& listing, const LocalTime& now);

// Title, files, sizes, switches; the NSCA parameters when NSCA is requested;
// labels, data format and label file. Sizes and names as in the data file;
// rs gives the clipped n_axes and the variable names.
void write_parameter_echo(RecordSink& listing, const JobRecord& job, const RunState& rs);

// The notice that rows and columns have been swapped, with the new names
// (from rs) and sizes I x J.
void write_swap_notice(RecordSink& listing, const RunState& rs, int I, int J);

// Heading of the input table.
void write_input_table_heading(RecordSink& listing, const RunState& rs);
// The I x J counts, then the I x n_supp supplementary predictors when n_supp > 0.
void write_input_table(RecordSink& listing, const JobArrays& a, int I, int J, int n_supp, RunState& rs);

// Row and column totals and N.
void write_marginal_totals(RecordSink& listing, const JobArrays& a, int I, int J, RunState& rs);
// Row profiles, column proportions, column profiles, row proportions.
void write_profiles(RecordSink& listing, const JobArrays& a, int I, int J, RunState& rs);

// Banner of the dependence measures.
void write_dependence_banner(RecordSink& listing);
void write_no_nsca(RecordSink& listing);
void write_no_homogenisation(RecordSink& listing);
void write_no_symmetry(RecordSink& listing);
// The warning written in place of the symmetry analysis of an I x J table, I != J.
void write_symmetry_impossible(RecordSink& listing, int I, int J);
void write_successful_end(RecordSink& listing);

}  // namespace marvist
