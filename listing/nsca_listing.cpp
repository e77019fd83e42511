#include "listing/nsca_listing.h"

#include <string>
#include <vector>

#include "base/storage.h"
#include "listing/joint_plots.h"
#include "listing/listing_status.h"
#include "listing/matrix_print.h"

namespace marvist {
namespace {

using Labels = std::span<const std::string>;

Labels as_labels(const std::vector<std::string>& v) { return {v.data(), v.size()}; }

// The table of singular values and principal inertias, and the standard
// coordinates of rows and columns.
void write_decomposition(RecordSink& listing, const JobTable& t, const NscaResult& r, Labels captions,
                         ListingStatus& status) {
    const InertiaTable& table = r.inertias;
    const int K = r.n_axes;
    // clang-format off
    write_records(listing, "(/,' Singular values and Principal Inertias',' (= Eigenvalues)',/,/,'   No.    Singular   Principal  Proportion  Cumulative',/,'            Value     Inertia               Proportion',/,' ',54('─'))");
    // clang-format on
    for (int i = 1; i <= table.usable_axes; ++i) {
        const std::size_t k = static_cast<std::size_t>(i - 1);
        write_records(listing, "(' ',I4,2F12.5,F9.3,F15.3)",
                      {i, r.singular_values(i), table.inertias[k], table.proportions[k], table.cumulative[k]});
    }
    write_records(listing, "(/,' Total Inertia   ',F12.5,' (= 2 * MS(Between)',' = Sum Eigenvalues)')", {table.total});

    write_records(listing, "(/,' Standard row coordinates (Left singular vectors) - ',A)", {t.row_variable});
    note_storage(status, print_labelled_matrix(r.row_standard.data(), row_labels(t), captions, t.I, K,
                                               ColumnLabels::Omitted, Decimals::Three, listing));
    write_records(listing, "(/,' Standard column coordinates (Right singular vectors) -',' ',A)", {t.col_variable});
    note_storage(status, print_labelled_matrix(r.col_standard.data(), col_labels(t), captions, t.J, K,
                                               ColumnLabels::Omitted, Decimals::Three, listing));
}

// The principal column coordinates (with the supplementary columns appended
// when there are any) and the joint plots: rows in standard, columns in
// principal coordinates. False when the section ends here: the analysis
// stopped at the supplementary columns, or the section's own storage failed.
bool write_columns_and_plots(RecordSink& listing, const JobTable& t, const NscaResult& r, Labels captions,
                             ListingStatus& status) {
    const int I = t.I, J = t.J, K = r.n_axes;
    if (t.n_supp == 0) {
        write_records(listing, "(/,' Principal coordinates for columns',/,' (scaled right singular vectors)  - ',A)",
                      {t.col_variable});
        note_storage(status, print_labelled_matrix(r.col_principal.data(), col_labels(t), captions, J, K,
                                                   ColumnLabels::Omitted, Decimals::Three, listing));
        note_storage(status, DrawJointPlots(r.row_standard, r.col_principal, I, J, K, listing));
        return true;
    }
    if (r.failure == NscaFailure::NoSupplementaryStorage) return false;

    const int n_points = J + t.n_supp;
    Vector<std::string> labels;  // the column labels, then "Suppl " for each supplementary column
    Matrix<double> Gplus;        // principal coordinates of all column points
    if (!obtain(labels, n_points) || !obtain(Gplus, n_points, K)) {
        status.failed(ErrorCode::Memory);
        status.cut_short = true;
        return false;
    }
    const Labels cols = col_labels(t);
    for (int j = 1; j <= J; ++j) labels(j) = cols[static_cast<std::size_t>(j - 1)];
    for (int s = 1; s <= t.n_supp; ++s) labels(J + s) = "Suppl ";
    for (int k = 1; k <= K; ++k) {
        for (int j = 1; j <= J; ++j) Gplus(j, k) = r.col_principal(j, k);
        for (int s = 1; s <= t.n_supp; ++s) Gplus(J + s, k) = r.supp_principal(s, k);
    }

    write_records(listing, "(/,' Principal coordinates including supplementary columns - ',A)", {t.col_variable});
    note_storage(status, print_labelled_matrix(Gplus.data(), Labels(labels.data(), static_cast<std::size_t>(n_points)),
                                               captions, n_points, K, ColumnLabels::Omitted, Decimals::Three, listing));
    labels.release();
    note_storage(status, DrawJointPlots(r.row_standard, Gplus, I, n_points, K, listing));
    return true;
}

void write_fit(RecordSink& listing, const NscaResult& r) {
    // clang-format off
    write_records(listing, "(/,/,'                   FIT INFORMATION',/,'                   ***************',/,/,' LogLikelihood Ratio (G2) ',F10.4,' df = ',I3,/,' ══════════════════════════════════════════════',/,' This statistic (informally) tests whether the model with,',/,I2,' dimensions fits well or not.',/,' Unfortunately, the often large number of observations may',/,' make the statistic less useful.',/,' In principle the statistic can be used to compare models',/,' with different numbers of dimensions by computing both',/,' the differences between the G2s and the dfs.')",
                  {r.g2, r.df, r.n_axes});
    // clang-format on
    write_records(listing,
                  "(/,' Root Mean Square of Residuals',F10.4,/,' ════════════════════════════════════════',/,/)",
                  {r.rms});
}

// Implied profiles, residuals, the fit and the three tables of contributions.
void write_supplementary_information(RecordSink& listing, const JobTable& t, const NscaResult& r, Labels captions,
                                     ListingStatus& status) {
    const int I = t.I, J = t.J, K = r.n_axes;
    const Labels rows = row_labels(t);
    const Labels cols = col_labels(t);
    write_records(listing,
                  "(/,' ',78('─'),/,'           Supplementary information on the NSCA solution',/,' ',78('─'),/)");
    write_records(listing, "(/,' Implied centred column profiles',/,' Row variable: ',A,'; Column variable: ',A,/)",
                  {t.row_variable, t.col_variable});
    note_storage(status, print_labelled_matrix(r.implied.data(), rows, cols, I, J, ColumnLabels::Shown, Decimals::Three,
                                               listing));
    write_records(
        listing,
        "(/,' Residuals: Not fitted part of centred column profiles',/,' Row variable: ',A,'; Column variable: ',A,/)",
        {t.row_variable, t.col_variable});
    note_storage(status, print_labelled_matrix(r.residuals.data(), rows, cols, I, J, ColumnLabels::Shown,
                                               Decimals::Three, listing));
    write_fit(listing, r);

    write_records(
        listing,
        "(/,' Proportional contribution of columns (',A,') to axes',/,'  (absolute contributions sum to eigenvalues)')",
        {t.col_variable});
    note_storage(status, print_labelled_matrix(r.col_axis_shares.data(), cols, captions, J, K, ColumnLabels::Omitted,
                                               Decimals::Three, listing));
    write_records(listing,
                  "(/,' Proportional contribution of the ',I2,' axes',/,' to',' column ( ',A,') contribution to tau')",
                  {K, t.col_variable});
    note_storage(status, print_labelled_matrix(r.col_explained.data(), captions, cols, 1, J, ColumnLabels::Shown,
                                               Decimals::Three, listing));
    write_records(listing, "(/,' Column lengths in two-dimensional biplot - ',A)", {t.col_variable});
    note_storage(status, print_labelled_matrix(r.col_lengths.data(), captions, cols, 1, J, ColumnLabels::Shown,
                                               Decimals::Three, listing));

    write_records(
        listing,
        "(/,' Proportional contribution of axes to the increase in',' predictability of rows',/,' plus total contribution of all axes - ',A)",
        {t.row_variable});
    note_storage(status,
                 print_labelled_matrix_with_summary(r.row_axis_shares.data(), r.row_explained.data(), rows, captions, I,
                                                    K, SummaryKind::Sum, ColumnLabels::Omitted, listing));
}

}  // namespace

void write_nsca(RecordSink& listing, const JobResults& results, ListingStatus& status) {
    const JobTable& t = results.table;
    const NscaResult& r = *results.nsca;
    if (r.failure == NscaFailure::NoStorage) return;

    write_records(
        listing, "(/,' ',78('═'),/,'     Non-symmetric correspondence analysis à la Lauro & D_Ambra',/,' ',78('═'),/)");
    if (r.failure == NscaFailure::NoDecompositionStorage) return;
    if (r.failure == NscaFailure::NotConverged) {
        write_records(listing, "(' Trouble. Error(s) in SVD routine: IERR = ',I4)", {r.ierr});
        return;
    }

    // Column labels of the axis matrices, which are printed with numbered
    // columns only: never shown.
    const std::vector<std::string> captions(static_cast<std::size_t>(r.row_standard.cols()), std::string(6, ' '));
    write_decomposition(listing, t, r, as_labels(captions), status);
    // A failure so far ends the section here, before the analysis' own.
    if (!status.ok()) {
        status.cut_short = true;
        return;
    }
    if (!write_columns_and_plots(listing, t, r, as_labels(captions), status)) return;
    if (!status.ok()) {
        status.cut_short = true;
        return;
    }
    if (r.failure == NscaFailure::NoFitStorage) return;
    write_supplementary_information(listing, t, r, as_labels(captions), status);
}

}  // namespace marvist
