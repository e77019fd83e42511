#include "listing/symmetry_listing.h"

#include "listing/listing_status.h"
#include "listing/matrix_print.h"

namespace marvist {

void write_symmetry(RecordSink& listing, const JobResults& results, ListingStatus& status) {
    const JobTable& t = results.table;
    const SymmetryResult& r = *results.symmetry;
    const auto rows = row_labels(t);
    const auto cols = col_labels(t);
    const int I = t.I, J = t.J;

    write_records(listing,
                  "(/,' ',78('═'),/,'                      Analysis of symmetry and skew-symmetry',/,' ',78('═'),/)");
    write_records(listing, "(/,'             Symmetrised table',/,'             ─────────────────',/)");
    note_storage(status, print_labelled_matrix(r.symmetric.data(), rows, cols, I, J, ColumnLabels::Shown, Decimals::One,
                                               listing));
    write_records(listing, "(/,' Values of both column and row marginals ')");
    note_storage(status, print_labelled_matrix(r.marginals.data(), rows, rows, 1, I, ColumnLabels::Shown, Decimals::One,
                                               listing));
    write_records(listing, "(/,'             Skew-symmetric table',/,'             ────────────────────',/)");
    note_storage(status,
                 print_labelled_matrix(r.skew.data(), rows, cols, I, J, ColumnLabels::Shown, Decimals::One, listing));
}

}  // namespace marvist
