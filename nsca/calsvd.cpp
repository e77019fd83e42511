#include "nsca/calsvd.h"

#include <algorithm>
#include <stdexcept>

#include "analysis/report_error.h"
#include "listing/matrix_print.h"
#include "base/storage.h"
#include "nsca/svd.h"

namespace marvist {

void calsvd(const Matrix<double>& A, Matrix<double>& F, Matrix<double>& G, Vector<double>& W, Vector<double>& work,
            int ld, int m, int n, int& d, std::span<const std::string> row_labels,
            std::span<const std::string> col_labels, RecordSink& listing, RunState& rs) {
    // The coordinates are printed with m and n as their leading dimensions.
    if (F.rows() != m || G.rows() != n || F.cols() < rs.n_axes || G.cols() < rs.n_axes)
        throw std::invalid_argument("calsvd: coordinate arrays do not match m, n and n_axes");

    Matrix<double> U, V;               // left and right singular vectors
    Vector<std::string> axis_captions;  // column labels of the coordinates; never shown
    if (!obtain(U, ld, n) || !obtain(V, ld, n) || !obtain(axis_captions, rs.n_axes)) {
        fail(rs, ErrorCode::Memory);
        return;
    }
    for (std::string& caption : axis_captions) caption = std::string(6, ' ');

    int ierr = 0;
    svd(ld, m, n, A, W, true, U, true, V, ierr, work);
    if (ierr != 0) {
        write_records(listing, "(' Trouble. Error(s) in SVD routine: IERR = ',I4)", {ierr});
        fail(rs, ErrorCode::SvdFailed);
        return;
    }
    eigsrt(U, W, V, ld, m, n, n);

    // clang-format off
    write_records(listing, "(/,' Singular values and Principal Inertias',' (= Eigenvalues)',/,/,'   No.    Singular   Principal  Proportion  Cumulative',/,'            Value     Inertia               Proportion',/,' ',54('─'))");
    // clang-format on

    // Every value enters the total, also those counted as zero; W is
    // descending, so d counts the leading values above the threshold.
    const int p = std::min(m, n);
    d = p;
    double total = 0.0;
    for (int i = 1; i <= p; ++i) {
        if (W(i) <= kAxisThreshold) --d;
        total += W(i) * W(i);
    }

    double cumulative = 0.0;
    for (int i = 1; i <= d; ++i) {
        const double inertia = W(i) * W(i);
        const double proportion = inertia / total;
        cumulative += proportion;
        write_records(listing, "(' ',I4,2F12.5,F9.3,F15.3)", {i, W(i), inertia, proportion, cumulative});
    }
    write_records(listing, "(/,' Total Inertia   ',F12.5,' (= 2 * MS(Between)',' = Sum Eigenvalues)')", {total});

    if (d < rs.n_axes) rs.n_axes = d;
    const int K = rs.n_axes;

    // The vectors as svd and eigsrt leave them: unit length, signs untouched.
    for (int k = 1; k <= K; ++k) {
        for (int i = 1; i <= m; ++i) F(i, k) = U(i, k);
        for (int j = 1; j <= n; ++j) G(j, k) = V(j, k);
    }

    const std::span<const std::string> captions(axis_captions.data(), static_cast<std::size_t>(axis_captions.size()));
    write_records(listing, "(/,' Standard row coordinates (Left singular vectors) - ',A)", {rs.row_variable});
    if (!print_labelled_matrix(F.data(), row_labels, captions, m, K, ColumnLabels::Omitted, Decimals::Three, listing)) fail(rs, ErrorCode::Memory);
    write_records(listing, "(/,' Standard column coordinates (Right singular vectors) -',' ',A)", {rs.col_variable});
    if (!print_labelled_matrix(G.data(), col_labels, captions, n, K, ColumnLabels::Omitted, Decimals::Three, listing)) fail(rs, ErrorCode::Memory);
}

}  // namespace marvist
