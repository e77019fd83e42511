#include "listing/homogenisation_listing.h"

#include "listing/job_blocks.h"
#include "listing/listing_status.h"
#include "listing/matrix_print.h"

namespace marvist {
void write_homogenisation(RecordSink& listing, RecordSink* standard_output, const JobResults& results,
                          ListingStatus& status) {
    const JobTable& t = results.table;
    const HomogenisationResult& r = *results.homogenisation;

    write_both(listing, standard_output,
               "(/,' ',78('═'),/,'               Homogenise margins of input contingency table',/,' ',78('═'),/)", {});
    const int steps = static_cast<int>(r.sweeps.size());
    if (standard_output != nullptr) {
        for (int k = 1; k <= steps; ++k)
            write_records(*standard_output, k == 1 ? "(' Iteration ',I4)" : "('+Iteration ',I4)", {k});
    }
    if (r.converged) {
        write_both(listing, standard_output,
                   "(/,' Iteration for homogenising the margins has converged',' in ',I3,' steps',/)", {steps});
    } else {
        write_both(listing, standard_output, "(/,' Maximum number of iterations (',I4,') reached',/)", {steps});
    }

    write_records(listing,
                  "('              Table with homogenised margins',/,'              ──────────────────────────────',/,"
                  "'   (Rows = ',A,'; Columns = ',A,')')",
                  {t.row_variable, t.col_variable});
    note_storage(status, print_labelled_int_matrix(r.rounded.data(), row_labels(t), col_labels(t), t.I, t.J,
                                                   ColumnLabels::Shown, listing));

    write_records(listing, "(/,' Values of row marginals ',I8)", {r.rounded_row_target});
    write_records(listing, "(/,' Values of column marginals ',I8)", {r.rounded_col_target});
    write_records(
        listing,
        "(/,' Average value for entry in table ',I8,/,' Values deviating from the average indicate presence of ',"
        "'interaction',/)",
        {r.average_entry});
}

}  // namespace marvist
