// bidiagonalise_fused(): the Householder bidiagonalisation of
// bidiagonalise(), reading the trailing matrix twice per step instead of
// three times, and sharing each pass among the members of a team.
//
// Step i of the reduction forms the left reflection (dot products of column
// i with every later column, then their update), then the right reflection
// (a sum along every later row, then the rows' update). The row update of
// step i is held back and done in step i+1's pass over the columns, just
// before that column's dot product, so one pass does
//     right update of step i-1, dot product, left update of step i
// column by column, and a second pass forms the row sums of step i. Every
// product and every sum sees the same operands in the same order as in
// bidiagonalise(), so the results are the same to the last bit.
//
// The first pass works column by column and the second row by row; so
// columns are shared among the team in the first, rows in the second, and
// no sum is split: the results do not depend on the size of the team.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "nsca/svd_fast.h"
#include "nsca/svd_fused_kernels.h"
#include "nsca/svd_steps.h"
#include "nsca/thread_team.h"

namespace marvist {
namespace {

using Index = std::int64_t;

// Trailing blocks smaller than this many elements are left to one thread:
// sharing them costs more than it saves.
constexpr Index kShareAbove = 48 * 1024;

// [begin, end) of part `part` of count items split into `parts`, in
// multiples of `grain` items except for the last part.
void share(Index count, int parts, int part, Index grain, Index& begin, Index& end) {
    const Index units = (count + grain - 1) / grain;
    const Index lo = units * part / parts, hi = units * (part + 1) / parts;
    begin = std::min(count, lo * grain);
    end = std::min(count, hi * grain);
}

// Runs body(begin, end) over [0, count): shared among the team in runs of
// `grain` items when the block it works on is large, else on the caller.
template <class Body>
void in_shares(ThreadTeam& team, Index count, Index block_elements, Index grain, const Body& body) {
    if (team.size() == 1 || block_elements < kShareAbove) {
        body(Index{0}, count);
        return;
    }
    const int parts = team.size();
    team.run([&](int part) {
        Index b = 0, e = 0;
        share(count, parts, part, grain, b, e);
        if (b < e) body(b, e);
    });
}

}  // namespace

double bidiagonalise_fused(int m, int n, Matrix<double>& U, Vector<double>& W, Vector<double>& work, double* rowsum,
                           int threads) {
    ThreadTeam team(threads);
    const Index ld = U.rows();

    double g = 0.0, scale = 0.0, anorm = 0.0;
    bool pending = false;  // a right update of the previous step is held back
    for (int i = 1; i <= n; ++i) {
        const Index len = m - i + 1;  // rows i..m, when i <= m
        // The held-back row update, on column i first: its scale and sums
        // depend on it. work(i) still holds the previous step's factor.
        if (pending) {
            double* ui = U.column(i) + (i - 1);
            const double* sum = rowsum + (i - 1);
            const double wi = work(i);
            for (Index r = 0; r < len; ++r) ui[r] += sum[r] * wi;
        }
        work(i) = scale * g;
        g = scale = 0.0;

        // Left reflection of column i, rows i..m; the later columns are done
        // in the shared pass with the held-back update.
        double h = 0.0;
        bool reflect = false;
        double* ui = nullptr;
        if (i <= m) {
            ui = U.column(i) + (i - 1);
            for (Index r = 0; r < len; ++r) scale += std::fabs(ui[r]);
            if (scale != 0.0) {
                double s = 0.0;
                for (Index r = 0; r < len; ++r) {
                    ui[r] /= scale;
                    s += ui[r] * ui[r];
                }
                const double f = ui[0];
                g = -sign_of(std::sqrt(s), f);
                h = f * g - s;
                ui[0] = f - g;
                reflect = true;
            }
        }
        const int later = n - i;  // columns i+1..n
        if (later > 0 && (pending || reflect)) {
            const double* sum = pending ? rowsum + (i - 1) : nullptr;
            double* first = U.column(i + 1) + (i - 1);
            const double* w = &work(i + 1);
            in_shares(team, later, later * len, 8, [&](Index b, Index e) {
                fused::columns_pass(first + b * ld, ld, len, static_cast<int>(e - b), sum, w + b,
                                    reflect ? ui : nullptr, h);
            });
        }
        if (reflect) {
            for (Index r = 0; r < len; ++r) ui[r] *= scale;
        }
        pending = false;
        W(i) = scale * g;
        g = scale = 0.0;

        // Right reflection of row i, columns i+1..n.
        if (i <= m && i != n) {
            const int l = i + 1;
            for (int k = l; k <= n; ++k) scale += std::fabs(U(i, k));
            if (scale != 0.0) {
                double s = 0.0;
                for (int k = l; k <= n; ++k) {
                    U(i, k) /= scale;
                    s += U(i, k) * U(i, k);
                }
                const double f = U(i, l);
                g = -sign_of(std::sqrt(s), f);
                const double hr = f * g - s;
                U(i, l) = f - g;
                for (int k = l; k <= n; ++k) work(k) = U(i, k) / hr;
                if (i != m) {
                    // Row sums of rows l..m, shared by rows; the update waits for step l.
                    const Index rows = m - l + 1;
                    const double* first = U.column(l) + (l - 1);
                    const double* x = &U(i, l);
                    double* sum = rowsum + (l - 1);
                    in_shares(team, rows, rows * (n - l + 1), 8, [&](Index b, Index e) {
                        fused::row_sums(first + b, ld, e - b, n - l + 1, x, ld, sum + b);
                    });
                    pending = true;
                }
                for (int k = l; k <= n; ++k) U(i, k) *= scale;
            }
        }
        anorm = std::max(anorm, std::fabs(W(i)) + std::fabs(work(i)));
    }
    return anorm;
}

}  // namespace marvist
