// The NSCA's fast decomposition: svd()'s singular values and IERR to the
// last bit, and the singular vectors of only the values asked for.
//
// A values-only pass runs svd()'s bidiagonalisation (with fewer passes over
// the matrix) and its QR sweeps, and records every rotation the sweeps would
// have applied to U and V. A vector is then the unit vector of its value's
// index carried back through the recorded rotations and the Householder
// reflections. As the very rotations of svd() are used, the vectors agree
// with svd()'s to rounding, with the same signs, and for a repeated value
// in the same basis.
#pragma once

#include <cstdint>
#include <vector>

#include "base/matrix.h"

namespace marvist {

// One QR sweep over W(l..k) (rotations of columns i-1, i for i = l+1..k,
// each a pair for V then a pair for U), or one cancellation of work(l)
// (rotations of U's columns l-1, i for i = l, l+1, ...).
struct TurnEvent {
    enum class Kind : std::int8_t { Sweep, Cancellation } kind;
    int l;
    int k;               // last index of a sweep; unused for a cancellation
    std::int64_t first;  // offset of its first (c, s) pair in the record
    std::int64_t end;    // offset one past its last pair
};

// What the values-only pass leaves for the vectors.
struct SvdRecord {
    int m = 0, n = 0;
    Matrix<double> reflections;            // m x n: the Householder vectors of the reduction
    Vector<double> diagonal;               // n: the bidiagonal form as the reduction left it
    Vector<double> superdiagonal;          // n: its super-diagonal (element 1 is 0)
    Vector<std::int64_t> converged_after;  // n: events recorded when value k converged
    Vector<std::int8_t> negated;           // n: 1 where the value converged negative
    Vector<double> rowsum;                 // m: scratch of the reduction
    std::vector<TurnEvent> events;
    std::vector<Vector<double>> chunks;  // the (c, s) pairs, kRecordChunk doubles each
    std::int64_t stored = 0;             // doubles recorded
    bool refused = false;                // storage for the rotations was refused
};

// Doubles in one chunk of the rotation record (a multiple of 4).
inline constexpr std::int64_t kRecordChunk = std::int64_t{1} << 16;

// Obtains the record's arrays for an m x n matrix; false when storage is refused.
bool obtain_record(SvdRecord& record, int m, int n);

// A         ld x n (at least m x n): the matrix; not altered                   (in)
// m, n      rows and columns                                                   (in)
// W         n: the singular values exactly as svd() gives them                 (out)
// ierr      as svd() gives it                                                  (out)
// work      at least n reals of scratch                                        (work)
// record    from obtain_record(); filled for replay_left/replay_right          (in/out)
// threads   members of the team that shares the bidiagonalisation, >= 1       (in)
// Returns false when the rotation record was refused its storage; W and ierr
// are still svd()'s then, but no vector can be replayed.
bool svd_values(const Matrix<double>& A, int m, int n, Vector<double>& W, int& ierr, Vector<double>& work,
                SvdRecord& record, int threads);

// W      at least k values                                                  (in)
// order  k indices: order(j) is the index in W of the j-th value as eigsrt()
//        sorts the first k values (descending, equal values in their order) (out)
void eigsrt_order(const Vector<double>& W, int k, Vector<int>& order);

// Columns order(1..K) of svd()'s U (before sorting) into columns 1..K of
// out (at least m rows).
// scratch  at least n reals
void replay_left(const SvdRecord& record, const Vector<int>& order, int K, Matrix<double>& out, double* scratch);

// Columns order(1..K) of svd()'s V (before sorting) into columns 1..K of
// out (at least n rows).
// scratch  at least 2n reals
void replay_right(const SvdRecord& record, const Vector<int>& order, int K, Matrix<double>& out, double* scratch);

// bidiagonalise() in two passes over the trailing matrix per step, shared
// among a team of `threads`; the same results to the last bit.
// rowsum  m reals of scratch
double bidiagonalise_fused(int m, int n, Matrix<double>& U, Vector<double>& W, Vector<double>& work, double* rowsum,
                           int threads);

}  // namespace marvist
