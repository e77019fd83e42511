// The values-only pass: svd()'s reduction and QR sweeps with a recorder in
// place of the rotations of U and V.
#include <algorithm>
#include <new>

#include "base/storage.h"
#include "nsca/svd_fast.h"
#include "nsca/svd_qr_sweeps.h"

namespace marvist {
namespace {

// Keeps the sweeps' rotations, as (c, s) pairs in chunks, instead of
// applying them. Once storage is refused it records nothing more and gives
// back what it held; the sweeps themselves go on unchanged.
struct Recorder {
    SvdRecord& rec;

    void refuse() {
        rec.refused = true;
        rec.chunks.clear();
        rec.chunks.shrink_to_fit();
        rec.events.clear();
        rec.events.shrink_to_fit();
    }
    void begin(TurnEvent::Kind kind, int l, int k) {
        if (rec.refused) return;
        try {
            rec.events.push_back({kind, l, k, rec.stored, rec.stored});
        } catch (const std::bad_alloc&) {
            refuse();
        }
    }
    void append(double c, double s) {
        if (rec.refused) return;
        const std::int64_t at = rec.stored % kRecordChunk;
        if (at == 0) {
            // The whole record, not only the new chunk, must fit the limit.
            std::uint64_t held = 0, more = 0;
            Vector<double> chunk;
            if (!storage_bytes(rec.stored, sizeof(double), held) ||
                !storage_bytes(kRecordChunk, sizeof(double), more) || !storage_fits({held, more}) ||
                !obtain(chunk, kRecordChunk)) {
                refuse();
                return;
            }
            try {
                rec.chunks.push_back(std::move(chunk));
            } catch (const std::bad_alloc&) {
                refuse();
                return;
            }
        }
        double* pair = rec.chunks.back().data() + at;
        pair[0] = c;
        pair[1] = s;
        rec.stored += 2;
        rec.events.back().end = rec.stored;
    }

    void sweep(int l, int k) { begin(TurnEvent::Kind::Sweep, l, k); }
    void cancellation(int l) { begin(TurnEvent::Kind::Cancellation, l, 0); }
    void right(int, int, double c, double s) { append(c, s); }
    void left(int, int, double c, double s) { append(c, s); }
    void converged(int k, double z) {
        rec.converged_after(k) = static_cast<std::int64_t>(rec.events.size());
        rec.negated(k) = z < 0.0 ? 1 : 0;
    }
};

}  // namespace

bool obtain_record(SvdRecord& record, int m, int n) {
    record = SvdRecord{};
    record.m = m;
    record.n = n;
    return obtain(record.reflections, m, n) && obtain(record.diagonal, n) && obtain(record.superdiagonal, n) &&
           obtain(record.converged_after, n) && obtain(record.negated, n) && obtain(record.rowsum, std::max(m, 1));
}

bool svd_values(const Matrix<double>& A, int m, int n, Vector<double>& W, int& ierr, Vector<double>& work,
                SvdRecord& record, int threads) {
    Matrix<double>& U = record.reflections;
    for (int j = 1; j <= n; ++j) std::copy_n(A.column(j), m, U.column(j));
    const double anorm = bidiagonalise_fused(m, n, U, W, work, record.rowsum.data(), threads);
    std::copy_n(W.data(), n, record.diagonal.data());
    std::copy_n(work.data(), n, record.superdiagonal.data());
    Recorder recorder{record};
    ierr = qr::diagonalise(n, anorm, W, work, recorder);
    return !record.refused;
}

void eigsrt_order(const Vector<double>& W, int k, Vector<int>& order) {
    for (int j = 1; j <= k; ++j) order(j) = j;
    // eigsrt's exchange sort, exchanging indices instead of values.
    for (int i = 1; i <= k; ++i) {
        for (int j = i; j <= k; ++j) {
            if (W(order(i)) < W(order(j))) std::swap(order(i), order(j));
        }
    }
}

}  // namespace marvist
