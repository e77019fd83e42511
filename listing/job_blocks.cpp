#include "listing/job_blocks.h"

#include <string>
#include <string_view>

#include "analysis/version.h"
#include "base/fixed_text.h"
#include "listing/listing_status.h"
#include "listing/matrix_print.h"

namespace marvist {
namespace {

constexpr std::string_view kHeader =
    "('                               ╔═════════╗',/,"
    "'                               ║ Marvist ║',/,"
    "'                               ╚═════════╝',/,/,"
    "'     ',A,/,/,"
    "' A program to analyse a nonsymmetric contingency table by:',/,"
    "'     ∙ computing tau and chi-square',/,"
    "'     ∙ performing nonsymmetrical correspondence analysis',/,"
    "'     ∙ homogenising the marginal totals',/,"
    "'     ∙ decomposing it into a symmetric and skew-symmetric part',/,/,"
    "22X,' Date: ',I2.2,'-',I2.2,'-',I4.4,' ; Time: ',I2.2,':',I2.2,':',I2.2,/,"
    "' ',78('═'),/,/)";

constexpr std::string_view kEcho =
    "(/,' ',A,/,' ',78('─'),/,' Output listing will be written to file          ',/,' ',A,/,/,"
    "' Data will be read from file:                    ',/,' ',A,/,/,"
    "' Number of rows                                  = ',I3,2X,A,/,"
    "' Number of columns                               = ',I3,2X,A,/,"
    "' Row (=0) or column (=1) dependence              = ',I3,/,"
    "' Nonsymmetric Correspondence Analysis            = ',I3,' ',A,/,"
    "' Homogenisation of margins to show interaction   = ',I3,' ',A,/,"
    "' Calculation of Symmetry and Skew-symmetry       = ',I3,' ',A)";

constexpr std::string_view kEchoNsca =
    "(' Number of axes biplot (=<min[rows,columns]-1)   = ',I3,/,"
    "' Number of supplementary predictors in NSCA      = ',I3)";

constexpr std::string_view kEchoLabelsAndFormat =
    "(' Labels for levels of rows and columns           = ',I3,' ',A,/,"
    "' Data input format (* = free format)             = ',A)";

constexpr std::string_view kEchoLabelFile = "(/,' Labels will be read from file                    ',/,' ',A)";

// "NO " when the switch is off, "YES" otherwise.
std::string_view yes_no(int flag) { return flag == 0 ? "NO " : "YES"; }

using Labels = std::span<const std::string>;

}  // namespace

void write_listing_header(RecordSink& listing, const JobResults& results) {
    const LocalTime& now = results.started;
    write_records(listing, kHeader, {kVersionNotice, now.day, now.month, now.year, now.hour, now.minute, now.second});
}

void write_parameter_echo(RecordSink& listing, const JobResults& results) {
    const JobRecord& job = results.job;
    const std::string title = fixed(job.title, kTitleLength);
    const std::string output_file = fixed(job.output_file, kFileNameLength);
    const std::string data_file = fixed(job.data_file, kFileNameLength);
    const std::string row_variable = fixed(job.row_variable, kVariableNameLength);
    const std::string col_variable = fixed(job.col_variable, kVariableNameLength);
    write_records(
        listing, kEcho,
        {title, output_file, data_file, job.n_rows, row_variable, job.n_cols, col_variable, job.dependence, job.do_nsca,
         yes_no(job.do_nsca), job.do_homogenise, yes_no(job.do_homogenise), job.do_symmetry, yes_no(job.do_symmetry)});
    if (job.do_nsca == 1) write_records(listing, kEchoNsca, {job.n_axes, job.n_supp});
    const std::string data_format = fixed(job.data_format, kDataFormatLength);
    write_records(listing, kEchoLabelsAndFormat, {job.has_labels, yes_no(job.has_labels), data_format});
    if (job.has_labels != 0) write_records(listing, kEchoLabelFile, {fixed(job.label_file, kFileNameLength)});
}

void write_swap_notice(RecordSink& listing, const JobResults& results) {
    const JobTable& t = results.table;
    write_records(listing,
                  "(' For the dependence analysis (NSCA) the rows and columns',' have been swapped.',/,"
                  "' New row variable: ',A,'; New column variable: ',A,'.',/,"
                  "' After transposition  No. rows = ',I3,', No.',' columns = ',I3,/)",
                  {t.row_variable, t.col_variable, t.I, t.J});
}

void write_input_table_heading(RecordSink& listing, const JobResults& results) {
    const JobTable& t = results.table;
    write_records(listing,
                  "(/,10X,'                   Input table',/,' Row variable: ',A,'; Column variable: ',A,/,"
                  "' ',78('─'))",
                  {t.row_variable, t.col_variable});
}

void write_input_table(RecordSink& listing, const JobResults& results, ListingStatus& status) {
    const JobTable& t = results.table;
    const Labels rows = row_labels(t);
    note_storage(status, print_labelled_int_matrix(t.counts.data(), rows, col_labels(t), t.I, t.J, ColumnLabels::Shown,
                                                   listing));
    if (t.n_supp == 0) return;
    write_records(listing, "(/,10X,'            Supplementary predictors')");
    // The column captions are suppressed, so no labels are passed for them.
    note_storage(status, print_labelled_int_matrix(t.supp_counts.data(), rows, Labels{}, t.I, t.n_supp,
                                                   ColumnLabels::Omitted, listing));
}

void write_marginal_totals(RecordSink& listing, const JobResults& results, ListingStatus& status) {
    const JobTable& t = results.table;
    const Marginals& m = results.marginals;
    const Labels rows = row_labels(t);
    write_records(listing, "(/,' Marginal frequencies ',/,' ──────────────────── ',/,' Rows - [f(i,.)]:  ',A)",
                  {t.row_variable});
    note_storage(status,
                 print_labelled_int_matrix(m.row_totals.data(), rows, rows, 1, t.I, ColumnLabels::Shown, listing));
    write_records(listing, "(/,' Columns - [f(.,j)]: ',A)", {t.col_variable});
    note_storage(status, print_labelled_int_matrix(m.col_totals.data(), rows, col_labels(t), 1, t.J,
                                                   ColumnLabels::Shown, listing));
    write_records(listing, "(/,' Total number of observations (N)',I10)", {m.total_n});
}

void write_profiles(RecordSink& listing, const JobResults& results, ListingStatus& status) {
    const JobTable& t = results.table;
    const Marginals& m = results.marginals;
    const Labels rows = row_labels(t);
    const Labels cols = col_labels(t);
    const int I = t.I, J = t.J;
    write_records(listing, "(/,' Row profiles [f(i,j)/f(i,.)] - ',A,/,' ───────────────────────────────────────────')",
                  {t.row_variable});
    note_storage(status, print_labelled_matrix(m.row_profiles.data(), rows, cols, I, J, ColumnLabels::Shown,
                                               Decimals::Three, listing));
    write_records(listing, "(/,' Marginal column proportions  [p(.,j) = f(.,j)/N] - ',A)", {t.col_variable});
    note_storage(status, print_labelled_matrix(m.col_margins.data(), rows, cols, 1, J, ColumnLabels::Shown,
                                               Decimals::Three, listing));
    write_records(listing,
                  "(/,' Column profiles [f(i,j)/f(.j)] - ',A,/,' ─────────────────────────────────────────────')",
                  {t.col_variable});
    note_storage(status, print_labelled_matrix(m.col_profiles.data(), rows, cols, I, J, ColumnLabels::Shown,
                                               Decimals::Three, listing));
    write_records(listing, "(/,' Marginal row proportions -  [p(i,.) = f(i,.)/N] ',A)", {t.row_variable});
    note_storage(status, print_labelled_matrix(m.row_margins.data(), rows, rows, 1, I, ColumnLabels::Shown,
                                               Decimals::Three, listing));
}

void write_no_nsca(RecordSink& listing) {
    write_records(listing, "(/,' No Nonsymmetric Correspondence Analysis performed',/)");
}

void write_no_homogenisation(RecordSink& listing) {
    write_records(listing, "(/,' No Homogenisation of Margins performed',/)");
}

void write_no_symmetry(RecordSink& listing) {
    write_records(listing, "(/,' No analysis of Symmetry and Skew Symmetry performed',/)");
}

void write_symmetry_impossible(RecordSink& listing, const JobResults& results) {
    write_records(listing,
                  "('          ***** WARNING *****',/,/,' Number of rows (',I3,') is not equal to Number of',"
                  "' columns (',I3,')',/,/,' ***** NO ANALYSIS OF SYMMETRY POSSIBLE *****')",
                  {results.table.I, results.table.J});
}

void write_successful_end(RecordSink& listing) { write_records(listing, "(/,/,' Succesful end of Marvist')"); }

void write_both(RecordSink& listing, RecordSink* standard_output, std::string_view layout,
                std::initializer_list<Value> values) {
    if (standard_output != nullptr) write_records(*standard_output, layout, values);
    write_records(listing, layout, values);
}

}  // namespace marvist
