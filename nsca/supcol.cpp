#include "nsca/supcol.h"

#include <stdexcept>

#include "base/storage.h"

namespace marvist {

ErrorCode supcol(const Matrix<double>& u, Matrix<double>& Gsupp, const Vector<double>& row_margins,
                 const Matrix<std::int32_t>& S, int I, int n_supp, int K) {
    if (u.rows() < I || u.cols() < K || Gsupp.rows() < n_supp || Gsupp.cols() < K || row_margins.size() < I ||
        S.rows() < I || S.cols() < n_supp)
        throw std::invalid_argument("supcol: array smaller than its dimensions");

    Vector<double> totals;  // t_s
    Matrix<double> P;       // centred profiles S(i,s)/t_s - p_i.
    if (!obtain(totals, n_supp) || !obtain(P, I, n_supp)) return ErrorCode::Memory;

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
            Gsupp(s, k) = g;
        }
    }
    return ErrorCode::None;
}

}  // namespace marvist
