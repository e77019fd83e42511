// Singular vectors from the record of the values-only pass. svd() forms
// U = P·R_1·R_2···R_T (P the left reflections, R_t the rotations in the
// order applied); column p of U is therefore P·(R_1·(R_2···(R_T·e_p))):
// the unit vector turned by the rotations last to first, then reflected.
// Rotations recorded after value p converged never touch index p and are
// skipped. V likewise, with the right reflections and the sign change of
// value p at convergence.
#include <algorithm>
#include <cstdint>

#include "nsca/svd_fast.h"

namespace marvist {
namespace {

using Index = std::int64_t;

// The (c, s) pair recorded at offset at.
const double* pair_at(const SvdRecord& rec, Index at) {
    return rec.chunks[static_cast<std::size_t>(at / kRecordChunk)].data() + at % kRecordChunk;
}

// y <- R·y for the rotation of columns a, b (0-based) by (c, s).
inline void turn(double* y, int a, int b, const double* cs) {
    const double c = cs[0], s = cs[1];
    const double ya = y[a], yb = y[b];
    y[a] = c * ya - s * yb;
    y[b] = s * ya + c * yb;
}

// Rotations of U (left) or of V, last to first, applied to y (n values).
void turn_back(const SvdRecord& rec, int p, bool left, double* y) {
    for (Index e = rec.converged_after(p) - 1; e >= 0; --e) {
        const TurnEvent& ev = rec.events[static_cast<std::size_t>(e)];
        if (ev.kind == TurnEvent::Kind::Sweep) {
            // Step i (l+1..k) holds V's pair, then U's.
            for (int i = ev.k; i > ev.l; --i) {
                const Index at = ev.first + 4 * Index{i - ev.l - 1} + (left ? 2 : 0);
                turn(y, i - 2, i - 1, pair_at(rec, at));
            }
        } else if (left) {
            const int steps = static_cast<int>((ev.end - ev.first) / 2);
            for (int t = steps - 1; t >= 0; --t) turn(y, ev.l - 2, ev.l + t - 1, pair_at(rec, ev.first + 2 * Index{t}));
        }
    }
}

}  // namespace

void replay_left(const SvdRecord& rec, const Vector<int>& order, int K, Matrix<double>& out, double* scratch) {
    const int m = rec.m, n = rec.n, mn = std::min(m, n);
    for (int k = 1; k <= K; ++k) {
        double* y = scratch;
        std::fill(y, y + n, 0.0);
        y[order(k) - 1] = 1.0;
        turn_back(rec, order(k), true, y);
        // The columns of svd()'s U beyond min(m, n) are zero.
        double* u = out.column(k);
        std::copy_n(y, mn, u);
        std::fill(u + mn, u + m, 0.0);
    }
    // P·u, reflections min(m, n) down to 1, as accumulate_left() forms P.
    for (int i = mn; i >= 1; --i) {
        const double g = rec.diagonal(i);
        if (g == 0.0) continue;
        const double* v = rec.reflections.column(i) + (i - 1);
        const Index len = m - i + 1;
        for (int k = 1; k <= K; ++k) {
            double* x = out.column(k) + (i - 1);
            double t = 0.0;
            for (Index r = 0; r < len; ++r) t += v[r] * x[r];
            const double f = (t / v[0]) / g;
            for (Index r = 0; r < len; ++r) x[r] += f * v[r];
        }
    }
}

void replay_right(const SvdRecord& rec, const Vector<int>& order, int K, Matrix<double>& out, double* scratch) {
    const int n = rec.n;
    for (int k = 1; k <= K; ++k) {
        double* v = out.column(k);
        std::fill(v, v + n, 0.0);
        v[order(k) - 1] = rec.negated(order(k)) != 0 ? -1.0 : 1.0;
        turn_back(rec, order(k), false, v);
    }
    // Q·v, reflections n-1 down to 1, as accumulate_right() forms Q. The
    // reflection's row is copied out once, and its multiples formed once.
    const Index ld = rec.reflections.rows();
    double* row = scratch;
    double* multiple = scratch + n;
    for (int i = n - 1; i >= 1; --i) {
        const int l = i + 1;
        const double g = rec.superdiagonal(l);
        if (g == 0.0) continue;
        const Index len = n - l + 1;
        const double* stored = &rec.reflections(i, l);
        for (Index j = 0; j < len; ++j) row[j] = stored[j * ld];
        for (Index j = 0; j < len; ++j) multiple[j] = (row[j] / row[0]) / g;
        for (int k = 1; k <= K; ++k) {
            double* x = out.column(k) + (l - 1);
            double t = 0.0;
            for (Index j = 0; j < len; ++j) t += row[j] * x[j];
            for (Index j = 0; j < len; ++j) x[j] += t * multiple[j];
        }
    }
}

}  // namespace marvist
