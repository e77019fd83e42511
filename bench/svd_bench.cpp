// Time of svd() followed by eigsrt() on square matrices of uniform random
// entries, with both sets of singular vectors, as the NSCA asks for them.
#include <benchmark/benchmark.h>

#include <random>

#include "nsca/svd.h"

namespace {

using marvist::Matrix;
using marvist::Vector;

void BM_SvdSquare(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Matrix<double> A(n, n), U(n, n), V(n, n);
    Vector<double> W(n), work(n);
    std::mt19937_64 gen(20261206);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    for (int j = 1; j <= n; ++j)
        for (int i = 1; i <= n; ++i) A(i, j) = u(gen);
    int ierr = 0;
    for (auto _ : state) {
        marvist::svd(n, n, n, A, W, true, U, true, V, ierr, work);
        marvist::eigsrt(U, W, V, n, n, n, n);
        benchmark::DoNotOptimize(W.data());
    }
    if (ierr != 0) state.SkipWithError("svd did not converge");
}

BENCHMARK(BM_SvdSquare)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
