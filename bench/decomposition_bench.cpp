// Time of the NSCA's decomposition on the table of a job: the full path
// (svd() and eigsrt() of every vector, as the NSCA did before) and the fast
// path as the NSCA takes it (values only, the vectors of the listed axes
// replayed), the latter also with a team of one thread.
//
//   decomposition_bench DATA ROWS COLS [AXES [RUNS]]
//
// DATA holds ROWS x COLS counts in free format. Prints the median wall time
// of RUNS (default 3) runs of each, in milliseconds, one line each:
//   full <ms>
//   fast <ms> <path taken: fast|full>
//   fast-1-thread <ms>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "nsca/svd.h"
#include "nsca/svd_axes.h"
#include "nsca/svd_fast.h"

namespace {

using marvist::Matrix;
using marvist::Vector;

double now_ms() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

template <class F>
double median_ms(int runs, const F& run) {
    std::vector<double> times;
    for (int k = 0; k < runs; ++k) {
        const double start = now_ms();
        run();
        times.push_back(now_ms() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: decomposition_bench DATA ROWS COLS [AXES [RUNS]]\n");
        return 2;
    }
    const int I = std::atoi(argv[2]), J = std::atoi(argv[3]);
    const int axes = argc > 4 ? std::atoi(argv[4]) : 2;
    const int runs = argc > 5 ? std::atoi(argv[5]) : 3;
    std::ifstream in(argv[1]);
    std::vector<double> counts(static_cast<std::size_t>(I) * J), rows(I), cols(J);
    double N = 0.0;
    for (int i = 0; i < I; ++i)
        for (int j = 0; j < J; ++j) {
            long c = 0;
            if (!(in >> c)) {
                std::fprintf(stderr, "decomposition_bench: %s holds fewer than %d x %d counts\n", argv[1], I, J);
                return 1;
            }
            counts[static_cast<std::size_t>(j) * I + i] = static_cast<double>(c);
            rows[i] += c;
            cols[j] += c;
            N += c;
        }

    // The weighted centred column profiles the NSCA decomposes.
    const int L = std::max(I, J);
    Matrix<double> A(L, J);
    for (int j = 1; j <= J; ++j)
        for (int i = 1; i <= I; ++i)
            A(i, j) = (counts[static_cast<std::size_t>(j - 1) * I + i - 1] / cols[j - 1] - rows[i - 1] / N) *
                      std::sqrt(cols[j - 1] / N);

    Vector<double> W(J), work(L);
    int ierr = 0;
    const double full = median_ms(runs, [&] {
        Matrix<double> U(L, J), V(L, J);
        marvist::svd(L, I, J, A, W, true, U, true, V, ierr, work);
        marvist::eigsrt(U, W, V, L, I, J, J);
    });
    marvist::SvdPath taken = marvist::SvdPath::Fast;
    const double fast = median_ms(runs, [&] {
        marvist::SortedSvd out;
        marvist::decompose_sorted(A, W, work, L, I, J, axes, marvist::SvdPath::Fast, out, ierr);
        taken = out.path;
    });
    const double one_thread = median_ms(runs, [&] {
        marvist::SvdRecord record;
        marvist::obtain_record(record, I, J);
        marvist::svd_values(A, I, J, W, ierr, work, record, 1);
        Vector<int> order(J);
        marvist::eigsrt_order(W, J, order);
        Matrix<double> F(I, axes), G(J, axes);
        Vector<double> scratch(2 * L);
        marvist::replay_left(record, order, axes, F, scratch.data());
        marvist::replay_right(record, order, axes, G, scratch.data());
    });
    std::printf("full %.1f\nfast %.1f %s\nfast-1-thread %.1f\n", full, fast,
                taken == marvist::SvdPath::Fast ? "fast" : "full", one_thread);
    return ierr == 0 ? 0 : 1;
}
