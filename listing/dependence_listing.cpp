#include "listing/dependence_listing.h"

#include "listing/job_blocks.h"
#include "listing/listing_status.h"
#include "listing/matrix_print.h"

namespace marvist {
void write_dependence(RecordSink& listing, RecordSink* standard_output, const JobResults& results,
                      ListingStatus& status) {
    const JobTable& t = results.table;
    const DependenceResult& r = *results.dependence;
    const auto rows = row_labels(t);
    const auto cols = col_labels(t);

    write_records(listing,
                  "(/,' ',78('═'),/,'        Overall dependence measures and their partitioning',/,' ',78('═'),/)");
    write_records(listing, "(/,' Centred column profiles',/,' (Mean = Marginal row proportions)')");
    note_storage(status, print_labelled_matrix_with_summary(r.centred_profiles.data(),
                                                            results.marginals.row_margins.data(), rows, cols, t.I, t.J,
                                                            SummaryKind::Mean, ColumnLabels::Shown, listing));

    write_both(listing, standard_output,
               "(/,' Tau_a (Rows dependent)     ',F10.3,/,' Asympt. approx. chi square ',F25.3,' with df ',I3)",
               {r.tau_a, r.chi_tau_a, r.df});

    write_records(listing, "(/,' Proportional contribution to Tau_a of each column')");
    note_storage(status, print_labelled_matrix(r.col_shares.data(), rows, cols, 1, t.J, ColumnLabels::Shown,
                                               Decimals::Three, listing));
    write_records(listing, "(/,' Proportional contribution to Tau_a of each row')");
    note_storage(status, print_labelled_matrix(r.row_shares.data(), rows, rows, 1, t.I, ColumnLabels::Shown,
                                               Decimals::Three, listing));

    write_both(listing, standard_output,
               "(/,' Tau_b (Columns dependent)  ',F10.3,/,' Asympt. approx. chi square ',F25.3,' with df ',I3,/,"
               "' Note: Tau_b is only relevent if the data were column-','dependent data.',/,"
               "' Its value is supplied for informational purposes only.')",
               {r.tau_b, r.chi_tau_b, r.df});

    write_both(listing, standard_output,
               "(/,' Pearson X² (chi-square) ',F25.3,' with df ',I3,/,' Total inertia (X²/n)            ',F25.3,/)",
               {r.chi_square, r.df, r.total_inertia});

    static constexpr std::string_view kAnovaHeading =
        "(/,'        Analysis of Variance (Light & Margolin)',/,/,"
        "'                    MS(Total)   MS(Between)   MS(Within)   Tau',/,' ',63('─'))";
    static constexpr std::string_view kAnovaLines =
        "(' Rows dependent ',4F12.4,/,' Cols dependent ',4F12.4,/,/,' Tau = MS(Between)/MS(Total)',/)";
    const AnovaLine& a = r.rows_dependent;
    const AnovaLine& b = r.cols_dependent;
    const std::initializer_list<Value> anova = {a.ms_total, a.ms_between, a.ms_within, a.tau,
                                                b.ms_total, b.ms_between, b.ms_within, b.tau};
    if (standard_output != nullptr) {
        write_records(*standard_output, kAnovaHeading);
        write_records(*standard_output, kAnovaLines, anova);
    }
    write_records(listing, kAnovaHeading);
    write_records(listing, kAnovaLines, anova);
}

}  // namespace marvist
