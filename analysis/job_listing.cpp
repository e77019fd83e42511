#include "analysis/job_listing.h"

#include <string>
#include <string_view>

#include "analysis/version.h"
#include "base/fixed_text.h"
#include "analysis/report_error.h"
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

void write_listing_header(RecordSink& listing, const LocalTime& now) {
    write_records(listing, kHeader,
                  {kVersionNotice, now.day, now.month, now.year, now.hour, now.minute, now.second});
}

void write_parameter_echo(RecordSink& listing, const JobRecord& job, const RunState& rs) {
    const std::string title = fixed(job.title, kTitleLength);
    const std::string output_file = fixed(job.output_file, kFileNameLength);
    const std::string data_file = fixed(job.data_file, kFileNameLength);
    write_records(listing, kEcho,
                  {title, output_file, data_file, job.n_rows, rs.row_variable, job.n_cols, rs.col_variable,
                   job.dependence, job.do_nsca, yes_no(job.do_nsca), job.do_homogenise,
                   yes_no(job.do_homogenise), job.do_symmetry, yes_no(job.do_symmetry)});
    if (job.do_nsca == 1) write_records(listing, kEchoNsca, {rs.n_axes, job.n_supp});
    const std::string data_format = fixed(job.data_format, kDataFormatLength);
    write_records(listing, kEchoLabelsAndFormat, {job.has_labels, yes_no(job.has_labels), data_format});
    if (job.has_labels != 0) write_records(listing, kEchoLabelFile, {fixed(job.label_file, kFileNameLength)});
}

void write_swap_notice(RecordSink& listing, const RunState& rs, int I, int J) {
    write_records(listing,
                  "(' For the dependence analysis (NSCA) the rows and columns',' have been swapped.',/,"
                  "' New row variable: ',A,'; New column variable: ',A,'.',/,"
                  "' After transposition  No. rows = ',I3,', No.',' columns = ',I3,/)",
                  {rs.row_variable, rs.col_variable, I, J});
}

void write_input_table_heading(RecordSink& listing, const RunState& rs) {
    write_records(listing,
                  "(/,10X,'                   Input table',/,' Row variable: ',A,'; Column variable: ',A,/,"
                  "' ',78('─'))",
                  {rs.row_variable, rs.col_variable});
}

void write_input_table(RecordSink& listing, const JobArrays& a, int I, int J, int n_supp, RunState& rs) {
    const Labels rows = first_labels(a.row_labels, I);
    const Labels cols = first_labels(a.col_labels, J);
    if (!print_labelled_int_matrix(a.counts.data(), rows, cols, I, J, ColumnLabels::Shown, listing)) fail(rs, ErrorCode::Memory);
    if (n_supp == 0) return;
    write_records(listing, "(/,10X,'            Supplementary predictors')");
    // The column captions are suppressed, so no labels are passed for them.
    if (!print_labelled_int_matrix(a.supp_counts.data(), rows, Labels{}, I, n_supp, ColumnLabels::Omitted, listing)) fail(rs, ErrorCode::Memory);
}

void write_marginal_totals(RecordSink& listing, const JobArrays& a, int I, int J, RunState& rs) {
    const Labels rows = first_labels(a.row_labels, I);
    const Labels cols = first_labels(a.col_labels, J);
    write_records(listing, "(/,' Marginal frequencies ',/,' ──────────────────── ',/,' Rows - [f(i,.)]:  ',A)",
                  {rs.row_variable});
    if (!print_labelled_int_matrix(a.row_totals.data(), rows, rows, 1, I, ColumnLabels::Shown, listing)) fail(rs, ErrorCode::Memory);
    write_records(listing, "(/,' Columns - [f(.,j)]: ',A)", {rs.col_variable});
    if (!print_labelled_int_matrix(a.col_totals.data(), rows, cols, 1, J, ColumnLabels::Shown, listing)) fail(rs, ErrorCode::Memory);
    write_records(listing, "(/,' Total number of observations (N)',I10)", {a.total_n});
}

void write_profiles(RecordSink& listing, const JobArrays& a, int I, int J, RunState& rs) {
    const Labels rows = first_labels(a.row_labels, I);
    const Labels cols = first_labels(a.col_labels, J);
    write_records(listing,
                  "(/,' Row profiles [f(i,j)/f(i,.)] - ',A,/,' ───────────────────────────────────────────')",
                  {rs.row_variable});
    if (!print_labelled_matrix(a.row_profiles.data(), rows, cols, I, J, ColumnLabels::Shown, Decimals::Three, listing)) fail(rs, ErrorCode::Memory);
    write_records(listing, "(/,' Marginal column proportions  [p(.,j) = f(.,j)/N] - ',A)", {rs.col_variable});
    if (!print_labelled_matrix(a.col_margins.data(), rows, cols, 1, J, ColumnLabels::Shown, Decimals::Three, listing)) fail(rs, ErrorCode::Memory);
    write_records(listing,
                  "(/,' Column profiles [f(i,j)/f(.j)] - ',A,/,' ─────────────────────────────────────────────')",
                  {rs.col_variable});
    if (!print_labelled_matrix(a.col_profiles.data(), rows, cols, I, J, ColumnLabels::Shown, Decimals::Three, listing)) fail(rs, ErrorCode::Memory);
    write_records(listing, "(/,' Marginal row proportions -  [p(i,.) = f(i,.)/N] ',A)", {rs.row_variable});
    if (!print_labelled_matrix(a.row_margins.data(), rows, rows, 1, I, ColumnLabels::Shown, Decimals::Three, listing)) fail(rs, ErrorCode::Memory);
}

void write_dependence_banner(RecordSink& listing) {
    write_records(listing,
                  "(/,' ',78('═'),/,'        Overall dependence measures and their partitioning',/,' ',78('═'),/)");
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

void write_symmetry_impossible(RecordSink& listing, int I, int J) {
    write_records(listing,
                  "('          ***** WARNING *****',/,/,' Number of rows (',I3,') is not equal to Number of',"
                  "' columns (',I3,')',/,/,' ***** NO ANALYSIS OF SYMMETRY POSSIBLE *****')",
                  {I, J});
}

void write_successful_end(RecordSink& listing) { write_records(listing, "(/,/,' Succesful end of Marvist')"); }

}  // namespace marvist
