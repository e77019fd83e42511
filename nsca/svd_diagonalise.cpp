// Diagonalisation of the bidiagonal form by implicitly shifted QR sweeps.
// Each plane rotation is applied to whole columns of U or V at once, which
// are contiguous in column-major storage.
#include <cstdint>

#include "nsca/svd_qr_sweeps.h"
#include "nsca/svd_steps.h"

namespace marvist {
namespace {

using Index = std::int64_t;

// Columns p and q of M over rows 1..rows: (a, b) -> (a·c + b·s, -a·s + b·c).
void rotate(Matrix<double>& M, Index rows, int p, int q, double c, double s) {
    double* x = M.column(p);
    double* y = M.column(q);
    for (Index r = 0; r < rows; ++r) {
        const double a = x[r], b = y[r];
        x[r] = a * c + b * s;
        y[r] = -a * s + b * c;
    }
}

// Applies the sweeps' rotations and sign changes to U (rows 1..m) and V (rows 1..n).
struct MatrixTurns {
    int m, n;
    bool want_u, want_v;
    Matrix<double>& U;
    Matrix<double>& V;

    void sweep(int, int) {}
    void cancellation(int) {}
    void right(int p, int q, double c, double s) {
        if (want_v) rotate(V, n, p, q, c, s);
    }
    void left(int p, int q, double c, double s) {
        if (want_u) rotate(U, m, p, q, c, s);
    }
    void converged(int k, double z) {
        if (z < 0.0 && want_v) {
            double* vk = V.column(k);
            for (Index r = 0; r < n; ++r) vk[r] = -vk[r];
        }
    }
};

}  // namespace

int diagonalise(int m, int n, double anorm, Vector<double>& W, Vector<double>& work, bool want_u, Matrix<double>& U,
                bool want_v, Matrix<double>& V) {
    MatrixTurns turns{m, n, want_u, want_v, U, V};
    return qr::diagonalise(n, anorm, W, work, turns);
}

}  // namespace marvist
