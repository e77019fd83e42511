// The loops of the fused bidiagonalisation.
//
// Updates run down columns, four rows at a time: each element is updated on
// its own, so their order does not matter. A dot product is a chain of
// additions in row order, so the chains of four columns run side by side
// in the lanes of one vector: a 4 x 4 tile of the matrix is transposed and
// its rows added in turn, which keeps every chain in row order. Row sums
// run four rows to a vector and add the columns in their order.
//
// Every lane does the IEEE additions and multiplications of the scalar
// loops, never a fused multiply-add, so the machine code chosen at run time
// (AVX2 where the processor has it) gives the same bits as the baseline
// code. The choice is made in plain code on the first call, not by an
// indirect function the loader resolves, which sanitizers do not support.
#include "nsca/svd_fused_kernels.h"

namespace marvist::fused {
namespace {

using Index = std::int64_t;
typedef double v4d __attribute__((vector_size(32)));
typedef std::int64_t v4i __attribute__((vector_size(32)));

// Four doubles at any address of doubles. Vectors are never passed by
// value to a function here: that would tie it to one machine-code
// variant's calling convention.
typedef double v4du __attribute__((vector_size(32), aligned(8), may_alias));
#define LOAD(p) (*reinterpret_cast<const v4du*>(p))
#define STORE(p, v) (*reinterpret_cast<v4du*>(p) = (v))

#if defined(__clang__)
#define SHUFFLE(a, b, i, j, k, l) __builtin_shufflevector(a, b, i, j, k, l)
#else
#define SHUFFLE(a, b, i, j, k, l) __builtin_shuffle(a, b, v4i{i, j, k, l})
#endif

// Rows r..r+3 of four columns (c[0..3], each a 4-vector down its column)
// as four 4-vectors across the columns.
[[gnu::always_inline]] inline void transpose(const v4d c[4], v4d row[4]) {
    const v4d t0 = SHUFFLE(c[0], c[1], 0, 4, 2, 6);
    const v4d t1 = SHUFFLE(c[0], c[1], 1, 5, 3, 7);
    const v4d t2 = SHUFFLE(c[2], c[3], 0, 4, 2, 6);
    const v4d t3 = SHUFFLE(c[2], c[3], 1, 5, 3, 7);
    row[0] = SHUFFLE(t0, t2, 0, 1, 4, 5);
    row[1] = SHUFFLE(t1, t3, 0, 1, 4, 5);
    row[2] = SHUFFLE(t0, t2, 2, 3, 6, 7);
    row[3] = SHUFFLE(t1, t3, 2, 3, 6, 7);
}

// a[r] += f·x[r] for r < len.
[[gnu::always_inline]] inline void add_multiple(double* a, double f, const double* x, Index len) {
    const v4d fv = {f, f, f, f};
    Index r = 0;
    for (; r + 4 <= len; r += 4) {
        v4d av, xv;
        av = LOAD(a + r);
        xv = LOAD(x + r);
        av = av + fv * xv;
        STORE(a + r, av);
    }
    for (; r < len; ++r) a[r] += f * x[r];
}

// Eight columns c[0..7] of len rows: the held-back update (when sum is not
// null), then d[t] = Σ_r u[r]·c[t][r] in the order of r (when u is not null).
[[gnu::always_inline]] inline void update_and_dot8(double* const c[8], Index len, const double* sum, const double* w, const double* u,
                            double d[8]) {
    v4d acc0 = {0.0, 0.0, 0.0, 0.0}, acc1 = acc0;
    Index r = 0;
    for (; r + 4 <= len; r += 4) {
        v4d lo[4], hi[4];
        for (int t = 0; t < 4; ++t) {
            lo[t] = LOAD(c[t] + r);
            hi[t] = LOAD(c[t + 4] + r);
        }
        if (sum != nullptr) {
            v4d s;
            s = LOAD(sum + r);
            for (int t = 0; t < 4; ++t) {
                lo[t] = lo[t] + s * w[t];
                hi[t] = hi[t] + s * w[t + 4];
                STORE(c[t] + r, lo[t]);
                STORE(c[t + 4] + r, hi[t]);
            }
        }
        if (u != nullptr) {
            v4d rlo[4], rhi[4];
            transpose(lo, rlo);
            transpose(hi, rhi);
            for (int q = 0; q < 4; ++q) {
                const double uq = u[r + q];
                const v4d x = {uq, uq, uq, uq};
                acc0 = acc0 + x * rlo[q];
                acc1 = acc1 + x * rhi[q];
            }
        }
    }
    for (; r < len; ++r) {
        for (int t = 0; t < 8; ++t) {
            if (sum != nullptr) c[t][r] += sum[r] * w[t];
        }
        if (u != nullptr) {
            const v4d x = {u[r], u[r], u[r], u[r]};
            acc0 = acc0 + x * v4d{c[0][r], c[1][r], c[2][r], c[3][r]};
            acc1 = acc1 + x * v4d{c[4][r], c[5][r], c[6][r], c[7][r]};
        }
    }
    for (int t = 0; t < 4; ++t) {
        d[t] = acc0[t];
        d[t + 4] = acc1[t];
    }
}

// One column: the held-back update, then its dot product with u.
[[gnu::always_inline]] inline double update_and_dot1(double* c, Index len, const double* sum, double w, const double* u) {
    if (sum != nullptr) add_multiple(c, w, sum, len);
    double d = 0.0;
    if (u != nullptr) {
        for (Index r = 0; r < len; ++r) d += u[r] * c[r];
    }
    return d;
}

// One column of the pass: the held-back update and the dot product, then
// the left update, the element above and the top element.
[[gnu::always_inline]] inline void finish_column(double* c, int t, Index len, double d, const ColumnPass& p) {
    if (p.u != nullptr) add_multiple(c, d / p.h, p.u, len);
    if (p.above != nullptr) c[-1] = p.above[t] * p.above_scale;
    if (p.top != nullptr) p.top[t] = c[0];
}

[[gnu::always_inline]] inline void columns_pass_body(double* first, Index ld, Index len, int count,
                                                     const ColumnPass& p) {
    // Last columns first: the row sums that follow run from the first
    // column on, and find the columns done last still in the cache.
    int j = count;
    for (; j % 8 != 0; --j) {
        double* c = first + (j - 1) * ld;
        const double d = update_and_dot1(c, len, p.sum, p.sum != nullptr ? p.w[j - 1] : 0.0, p.u);
        finish_column(c, j - 1, len, d, p);
    }
    for (; j > 0; j -= 8) {
        double* c[8];
        for (int t = 0; t < 8; ++t) c[t] = first + (j - 8 + t) * ld;
        double d[8];
        update_and_dot8(c, len, p.sum, p.sum != nullptr ? p.w + j - 8 : nullptr, p.u, d);
        for (int t = 0; t < 8; ++t) finish_column(c[t], j - 8 + t, len, d[t], p);
    }
}

[[gnu::always_inline]] inline void add_row_sums_body(const double* a, Index ld, Index rows, int cols, const double* x,
                                                     double* sum) {
    int k = 0;
    for (; k + 4 <= cols; k += 4) {
        const double* a0 = a + k * ld;
        const double* a1 = a0 + ld;
        const double* a2 = a1 + ld;
        const double* a3 = a2 + ld;
        const double x0 = x[k], x1 = x[k + 1], x2 = x[k + 2], x3 = x[k + 3];
        const v4d x0v = {x0, x0, x0, x0}, x1v = {x1, x1, x1, x1}, x2v = {x2, x2, x2, x2}, x3v = {x3, x3, x3, x3};
        Index r = 0;
        for (; r + 4 <= rows; r += 4) {
            v4d s, b0, b1, b2, b3;
            s = LOAD(sum + r);
            b0 = LOAD(a0 + r);
            b1 = LOAD(a1 + r);
            b2 = LOAD(a2 + r);
            b3 = LOAD(a3 + r);
            s = s + b0 * x0v;
            s = s + b1 * x1v;
            s = s + b2 * x2v;
            s = s + b3 * x3v;
            STORE(sum + r, s);
        }
        for (; r < rows; ++r) {
            double s = sum[r];
            s += a0[r] * x0;
            s += a1[r] * x1;
            s += a2[r] * x2;
            s += a3[r] * x3;
            sum[r] = s;
        }
    }
    for (; k < cols; ++k) {
        const double xk = x[k];
        const double* ak = a + k * ld;
        for (Index r = 0; r < rows; ++r) sum[r] += ak[r] * xk;
    }
}

// The bodies compiled twice: for the x86-64 baseline and for AVX2.
[[gnu::noinline]] void columns_pass_baseline(double* first, Index ld, Index len, int count, const ColumnPass& p) {
    columns_pass_body(first, ld, len, count, p);
}
[[gnu::noinline]] void add_row_sums_baseline(const double* a, Index ld, Index rows, int cols, const double* x,
                                             double* sum) {
    add_row_sums_body(a, ld, rows, cols, x, sum);
}
#if defined(__x86_64__)
[[gnu::noinline, gnu::target("avx2")]] void columns_pass_avx2(double* first, Index ld, Index len, int count,
                                                              const ColumnPass& p) {
    columns_pass_body(first, ld, len, count, p);
}
[[gnu::noinline, gnu::target("avx2")]] void add_row_sums_avx2(const double* a, Index ld, Index rows, int cols,
                                                              const double* x, double* sum) {
    add_row_sums_body(a, ld, rows, cols, x, sum);
}
#endif

bool use_avx2() {
#if defined(__x86_64__)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
#else
    return false;
#endif
}

}  // namespace

void columns_pass(double* first, Index ld, Index len, int count, const ColumnPass& pass) {
#if defined(__x86_64__)
    if (use_avx2()) return columns_pass_avx2(first, ld, len, count, pass);
#endif
    columns_pass_baseline(first, ld, len, count, pass);
}

void add_row_sums(const double* a, Index ld, Index rows, int cols, const double* x, double* sum) {
#if defined(__x86_64__)
    if (use_avx2()) return add_row_sums_avx2(a, ld, rows, cols, x, sum);
#endif
    add_row_sums_baseline(a, ld, rows, cols, x, sum);
}

}  // namespace marvist::fused
