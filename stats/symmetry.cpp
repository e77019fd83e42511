#include "stats/symmetry.h"

#include "analysis/report_error.h"
#include "listing/matrix_print.h"
#include "base/storage.h"

namespace marvist {

void analyse_symmetry(const Matrix<std::int32_t>& counts, int I, int J,
                      std::span<const std::string> row_labels, std::span<const std::string> col_labels,
                      RecordSink& listing, RunState& rs) {
    // Only a square table has a transpose to compare with; the driver never
    // calls this otherwise, and nothing is read outside the table.
    if (I != J || counts.rows() < I || counts.cols() < J) return;

    Matrix<double> f;  // the counts as reals
    Matrix<double> s;  // symmetric part (F + F')/2
    Matrix<double> k;  // skew-symmetric part (F - F')/2
    Vector<double> m;  // row totals of S, equal to its column totals
    if (!obtain(f, I, J) || !obtain(s, I, J) || !obtain(k, I, J) || !obtain(m, I)) {
        fail(rs, ErrorCode::Memory);
        return;
    }

    for (int j = 1; j <= J; ++j)
        for (int i = 1; i <= I; ++i) f(i, j) = static_cast<double>(counts(i, j));

    write_records(listing,
                  "(/,' ',78('═'),/,'                      Analysis of symmetry and skew-symmetry',/,' ',78('═'),/)");

    for (int i = 1; i <= I; ++i) {
        m(i) = 0.0;
        for (int j = 1; j <= J; ++j) {
            s(i, j) = (f(j, i) + f(i, j)) / 2.0;
            k(i, j) = (f(i, j) - f(j, i)) / 2.0;
            m(i) += s(i, j);
        }
    }

    write_records(listing, "(/,'             Symmetrised table',/,'             ─────────────────',/)");
    if (!print_labelled_matrix(s.data(), row_labels, col_labels, I, J, ColumnLabels::Shown, Decimals::One, listing)) fail(rs, ErrorCode::Memory);

    write_records(listing, "(/,' Values of both column and row marginals ')");
    if (!print_labelled_matrix(m.data(), row_labels, row_labels, 1, I, ColumnLabels::Shown, Decimals::One, listing)) fail(rs, ErrorCode::Memory);

    write_records(listing, "(/,'             Skew-symmetric table',/,'             ────────────────────',/)");
    if (!print_labelled_matrix(k.data(), row_labels, col_labels, I, J, ColumnLabels::Shown, Decimals::One, listing)) fail(rs, ErrorCode::Memory);
}

}  // namespace marvist
