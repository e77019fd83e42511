// The listing's blocks around the analyses: header, parameter echo, input
// table, marginals and profiles, the lines written for analyses that are
// not run, and the closing line. A matrix printer that cannot obtain its
// storage is noted in status (the memory error); what follows it is still
// written.
#pragma once

#include <initializer_list>
#include <string_view>

#include "analysis/job_observer.h"
#include "analysis/job_results.h"
#include "base/layout.h"

namespace marvist {

// Box, version notice, purpose, date and time (results.started), rule.
void write_listing_header(RecordSink& listing, const JobResults& results);

// Title, files, sizes, switches; the NSCA parameters when NSCA is requested;
// labels, data format and label file (results.job).
void write_parameter_echo(RecordSink& listing, const JobResults& results);

// Heading of the input table, with the variable names of results.table.
void write_input_table_heading(RecordSink& listing, const JobResults& results);
// The notice that rows and columns have been swapped, with the new names and sizes.
void write_swap_notice(RecordSink& listing, const JobResults& results);
// The counts, then the supplementary predictors when there are any.
void write_input_table(RecordSink& listing, const JobResults& results, ListingStatus& status);

// Row and column totals and N.
void write_marginal_totals(RecordSink& listing, const JobResults& results, ListingStatus& status);
// Row profiles, column proportions, column profiles, row proportions.
void write_profiles(RecordSink& listing, const JobResults& results, ListingStatus& status);

void write_no_nsca(RecordSink& listing);
void write_no_homogenisation(RecordSink& listing);
void write_no_symmetry(RecordSink& listing);
// The warning written in place of the symmetry analysis of a table that is not square.
void write_symmetry_impossible(RecordSink& listing, const JobResults& results);
void write_successful_end(RecordSink& listing);

// Writes one block to the standard output copy (when there is one), then to
// the listing: the result blocks a job also shows on its standard output.
void write_both(RecordSink& listing, RecordSink* standard_output, std::string_view layout,
                std::initializer_list<Value> values);

}  // namespace marvist
