// decompose_sorted(): the fast path, and the tables where it gives way.
//
// Replayed vectors agree with svd()'s to about 1e-15, not to the bit. That
// changes a listed figure only where the figure sits exactly on a rounding
// tie, as 0.0625 or -0.1175 do at three decimals, and exact ties come from
// tables with an exact structure, whose figures are simple fractions. The
// structures below send a table to the full decomposition, so that its
// figures are svd()'s to the bit:
//   - every usable axis listed: the implied profiles are then the table's
//     own centred profiles, fractions such as 3/48 - 90/500;
//   - listed values equal, exactly or to rounding: circulant tables, sums
//     of permutation matrices and other highly symmetric tables;
//   - a listed vector with entries equal in magnitude, or zero, to rounding:
//     mirrored, repeated or disconnected rows and columns, whose axes split
//     the profiles into exact parts.
// So do tables whose rotations cannot be stored (the record takes 16 bytes
// a rotation, about 26 MB for 1000 x 1000).
//
// This is a guard against the structures that make ties likely, not a proof
// that no figure sits on a tie; a generic table has none to rounding.
#include "nsca/svd_axes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <thread>

#include "base/storage.h"
#include "nsca/calsvd.h"
#include "nsca/svd.h"
#include "nsca/svd_fast.h"
#include "nsca/thread_team.h"

namespace marvist {
namespace {

bool full_decomposition(const Matrix<double>& A, Vector<double>& W, Vector<double>& work, int ld, int m, int n,
                        SortedSvd& out, int& ierr) {
    out.path = SvdPath::Full;
    if (!obtain(out.U, ld, n) || !obtain(out.V, ld, n)) return false;
    svd(ld, m, n, A, W, true, out.U, true, out.V, ierr, work);
    if (ierr == 0) eigsrt(out.U, W, out.V, ld, m, n, n);
    return true;
}

// Usable values among the first p of W, sorted.
int usable_values(const Vector<double>& W, const Vector<int>& order, int p) {
    int d = 0;
    while (d < p && W(order(d + 1)) > kAxisThreshold) ++d;
    return d;
}

// Two of the d usable values (and the next one) equal to rounding.
bool repeated_value(const Vector<double>& W, const Vector<int>& order, int p, int d) {
    const double close = kRepeatedValue * W(order(1));
    for (int k = 1; k <= d && k < p; ++k) {
        if (W(order(k)) - W(order(k + 1)) <= close) return true;
    }
    return false;
}

// Entries of x (count of them) equal in magnitude, or zero, to rounding.
// scratch: count reals.
bool equal_entries(const double* x, std::int64_t count, double* scratch) {
    for (std::int64_t r = 0; r < count; ++r) scratch[r] = std::fabs(x[r]);
    std::sort(scratch, scratch + count);
    if (count > 0 && scratch[0] <= kEqualEntries) return true;
    for (std::int64_t r = 1; r < count; ++r) {
        if (scratch[r] - scratch[r - 1] <= kEqualEntries) return true;
    }
    return false;
}

// The left and the right vectors of the K listed values. They are
// independent of each other, and each is the same whichever thread forms
// it: with a large record, and storage for a scratch of its own, the right
// ones are replayed on a thread of their own.
// scratch: 2 max(m, n) reals.
void replay_vectors(const SvdRecord& record, const Vector<int>& order, int K, SortedSvd& out, double* scratch) {
    Vector<double> own_scratch;
    std::thread right;
    if (record.stored >= kSharedReplay && obtain(own_scratch, 2 * std::int64_t{record.n})) {
        try {
            right = std::thread([&] { replay_right(record, order, K, out.V, own_scratch.data()); });
        } catch (const std::exception&) {
            // No thread: both sides on this one.
        }
    }
    replay_left(record, order, K, out.U, scratch);
    if (right.joinable()) {
        right.join();
    } else {
        replay_right(record, order, K, out.V, scratch);
    }
}

}  // namespace

bool decompose_sorted(const Matrix<double>& A, Vector<double>& W, Vector<double>& work, int ld, int m, int n, int axes,
                      SvdPath path, SortedSvd& out, int& ierr) {
    ierr = 0;
    if (path == SvdPath::Full) return full_decomposition(A, W, work, ld, m, n, out, ierr);

    std::uint64_t bytes = 0;
    if (!storage_bytes(ld, n, sizeof(double), bytes) || !storage_fits({bytes})) return false;
    out.path = SvdPath::Fast;
    SvdRecord record;
    Vector<int> order;
    Vector<double> scratch;
    // The full decomposition, with the fast path's storage given back first.
    const auto give_way = [&] {
        record = SvdRecord{};
        scratch.release();
        return full_decomposition(A, W, work, ld, m, n, out, ierr);
    };
    if (!obtain_record(record, m, n) || !obtain(order, n) || !obtain(scratch, 2 * std::int64_t{std::max(m, n)}) ||
        !svd_values(A, m, n, W, ierr, work, record, default_team_size()))
        return give_way();
    if (ierr != 0) return true;

    eigsrt_order(W, n, order);
    const int p = std::min(m, n), d = usable_values(W, order, p), K = std::min(std::max(axes, 0), d);
    if ((d > 0 && K == d) || repeated_value(W, order, p, d) || !obtain(out.U, m, K) || !obtain(out.V, n, K))
        return give_way();
    replay_vectors(record, order, K, out, scratch.data());
    for (int k = 1; k <= K; ++k) {
        if (equal_entries(out.U.column(k), m, scratch.data()) ||
            equal_entries(out.V.column(k), n, scratch.data()))
            return give_way();
    }
    for (int k = 1; k <= n; ++k) work(k) = W(order(k));
    std::copy_n(work.data(), n, W.data());
    return true;
}

void copy_leading_vectors(const SortedSvd& svd, int K, Matrix<double>& F, Matrix<double>& G) {
    for (int k = 1; k <= K; ++k) {
        std::copy_n(svd.U.column(k), F.rows(), F.column(k));
        std::copy_n(svd.V.column(k), G.rows(), G.column(k));
    }
}

}  // namespace marvist
