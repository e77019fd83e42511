#include "nsca/supcol.h"

#include <stdexcept>

#include "analysis/report_error.h"
#include "base/storage.h"

namespace marvist {

void supcol(const Matrix<double>& u, Matrix<double>& Gplus, const Vector<double>& row_margins,
            const Matrix<std::int32_t>& S, int I, int J, int n_supp, RunState& rs) {
    const int K = rs.n_axes;
    if (u.rows() < I || u.cols() < K || Gplus.rows() < std::int64_t{J} + n_supp || Gplus.cols() < K ||
        row_margins.size() < I || S.rows() < I || S.cols() < n_supp)
        throw std::invalid_argument("supcol: array smaller than its dimensions");

    Vector<double> totals;  // t_s
    Matrix<double> P;       // centred profiles S(i,s)/t_s - p_i.
    if (!obtain(totals, n_supp) || !obtain(P, I, n_supp)) {
        fail(rs, ErrorCode::Memory);
        return;
    }

    for (int s = 1; s <= n_supp; ++s) {
        double t = 0.0;
        for (int i = 1; i <= I; ++i) t += static_cast<double>(S(i, s));
        totals(s) = t;
    }
    for (int s = 1; s <= n_supp; ++s) {
        if (totals(s) == 0.0) continue;  // no profile; placed at the origin below
        for (int i = 1; i <= I; ++i) P(i, s) = static_cast<double>(S(i, s)) / totals(s) - row_margins(i);
    }

    for (int k = 1; k <= K; ++k) {
        for (int s = 1; s <= n_supp; ++s) {
            double g = 0.0;
            if (totals(s) != 0.0) {
                for (int i = 1; i <= I; ++i) g += u(i, k) * P(i, s);
            }
            Gplus(J + s, k) = g;
        }
    }
}

}  // namespace marvist
