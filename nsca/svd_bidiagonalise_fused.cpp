// bidiagonalise_fused(): the Householder bidiagonalisation of
// bidiagonalise(), reading the trailing matrix twice per step instead of
// three times, and sharing both passes among the members of a team.
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
// Each member of the team keeps the same run of columns in both passes. In
// the column pass the columns are independent. In the row sums a member
// adds its columns' terms to a block of rows once the member before it has
// added its own, so every sum still runs over the columns in their order:
// the results do not depend on the size of the team.
//
// Row i of the matrix is strided in memory. The column pass hands its
// elements out contiguously for the right reflection, and the next column
// pass stores the reflection's vector back beside the elements it works on.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <vector>

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
// Rows a member adds up before handing them to the next member.
constexpr Index kRowBlock = 128;

// [begin, end) of part `part` of count items split into `parts`, in
// multiples of `grain` items except for the last part.
void share(Index count, int parts, int part, Index grain, Index& begin, Index& end) {
    const Index units = (count + grain - 1) / grain;
    const Index lo = units * part / parts, hi = units * (part + 1) / parts;
    begin = std::min(count, lo * grain);
    end = std::min(count, hi * grain);
}

constexpr Index kColumnGrain = 8;

struct alignas(64) Progress {
    std::atomic<std::int64_t> rows{0};
};

struct Team {
    ThreadTeam threads;
    std::vector<Progress> progress;  // rows of the row sums each member has added

    explicit Team(int members) : threads(members), progress(static_cast<std::size_t>(threads.size())) {}
    bool shares(Index elements) const { return threads.size() > 1 && elements >= kShareAbove; }
};

// The column pass over `count` columns from `first` (len rows each).
void column_pass(Team& team, double* first, Index ld, Index len, int count, const fused::ColumnPass& pass) {
    if (!team.shares(count * len)) {
        fused::columns_pass(first, ld, len, count, pass);
        return;
    }
    const int parts = team.threads.size();
    team.threads.run([&](int part) {
        Index b = 0, e = 0;
        share(count, parts, part, kColumnGrain, b, e);
        if (b == e) return;
        fused::ColumnPass mine = pass;
        if (mine.w != nullptr) mine.w += b;
        if (mine.top != nullptr) mine.top += b;
        if (mine.above != nullptr) mine.above += b;
        fused::columns_pass(first + b * ld, ld, len, static_cast<int>(e - b), mine);
    });
}

// sum[r] = Σ_k a[r + k·ld]·x[k] over the `cols` columns from `a`, rows r < rows.
void row_sums(Team& team, const double* a, Index ld, Index rows, int cols, const double* x, double* sum) {
    if (!team.shares(rows * cols)) {
        std::fill(sum, sum + rows, 0.0);
        fused::add_row_sums(a, ld, rows, cols, x, sum);
        return;
    }
    const int parts = team.threads.size();
    for (Progress& p : team.progress) p.rows.store(0, std::memory_order_relaxed);
    team.threads.run([&](int part) {
        Index b = 0, e = 0;
        share(cols, parts, part, kColumnGrain, b, e);
        for (Index r = 0; r < rows; r += kRowBlock) {
            const Index block = std::min(kRowBlock, rows - r);
            if (part == 0) {
                std::fill(sum + r, sum + r + block, 0.0);
            } else {
                await_at_least(team.progress[static_cast<std::size_t>(part - 1)].rows, r + block);
            }
            if (b < e) fused::add_row_sums(a + b * ld + r, ld, block, static_cast<int>(e - b), x + b, sum + r);
            publish(team.progress[static_cast<std::size_t>(part)].rows, r + block);
        }
    });
}

}  // namespace

double bidiagonalise_fused(int m, int n, Matrix<double>& U, Vector<double>& W, Vector<double>& work, double* rowsum,
                           int threads) {
    Team team(threads);
    const Index ld = U.rows();
    // Row i (columns i+1..n) in contiguous form, and the previous step's row
    // whose reflection vector is still to be stored back into U.
    std::vector<double> row(static_cast<std::size_t>(std::max(n, 1))), stored_back(row.size());
    int back_row = 0;         // the row to store back, or 0
    double back_scale = 0.0;  // its scale

    // Stores the held-back reflection vector of row back_row into U (columns from `from`).
    const auto store_back = [&](int from) {
        for (int k = from; k <= n; ++k) U(back_row, k) = stored_back[static_cast<std::size_t>(k - back_row - 1)] * back_scale;
        back_row = 0;
    };

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
        // in the column pass with the held-back update.
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
        const bool right = i <= m && i != n;  // a right reflection of row i follows
        bool row_ready = false;               // row holds U(i, i+1..n)
        if (later > 0 && len > 0 && (pending || reflect || right || back_row != 0)) {
            fused::ColumnPass pass;
            if (pending) {
                pass.sum = rowsum + (i - 1);
                pass.w = &work(i + 1);
            }
            if (reflect) {
                pass.u = ui;
                pass.h = h;
            }
            if (right) pass.top = row.data();
            if (back_row == i - 1 && back_row != 0) {
                // Row i-1's vector: column i by hand, the rest beside row i.
                U(back_row, i) = stored_back[0] * back_scale;
                pass.above = stored_back.data() + 1;
                pass.above_scale = back_scale;
            }
            column_pass(team, U.column(i + 1) + (i - 1), ld, len, later, pass);
            if (pass.above != nullptr) back_row = 0;
            row_ready = right;
        }
        if (back_row != 0) store_back(back_row + 1);
        if (reflect) {
            for (Index r = 0; r < len; ++r) ui[r] *= scale;
        }
        pending = false;
        W(i) = scale * g;
        g = scale = 0.0;

        // Right reflection of row i, columns i+1..n, on its contiguous copy.
        if (right) {
            const int l = i + 1;
            double* x = row.data();
            if (!row_ready) {
                for (int k = l; k <= n; ++k) x[k - l] = U(i, k);
            }
            for (int k = 0; k < later; ++k) scale += std::fabs(x[k]);
            if (scale != 0.0) {
                double s = 0.0;
                for (int k = 0; k < later; ++k) {
                    x[k] /= scale;
                    s += x[k] * x[k];
                }
                const double f = x[0];
                g = -sign_of(std::sqrt(s), f);
                const double hr = f * g - s;
                x[0] = f - g;
                for (int k = l; k <= n; ++k) work(k) = x[k - l] / hr;
                if (i != m) {
                    // Row sums of rows l..m; the update waits for step l.
                    const Index rows = m - l + 1;
                    row_sums(team, U.column(l) + (l - 1), ld, rows, later, x, rowsum + (l - 1));
                    pending = true;
                }
                // The vector x·scale goes back into row i in the next column pass.
                row.swap(stored_back);
                back_row = i;
                back_scale = scale;
            }
        }
        anorm = std::max(anorm, std::fabs(W(i)) + std::fabs(work(i)));
    }
    if (back_row != 0) store_back(back_row + 1);
    return anorm;
}

}  // namespace marvist
