// Time of the export (export/results_export.h) of a 1000 x 1000 job with
// every analysis (NSCA with 2 axes, homogenisation, symmetry): five files
// of a million rows and a dozen small ones, written into a temporary folder.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "analysis/driver.h"
#include "export/results_export.h"

namespace marvist {
namespace {

class DiscardedRecords : public RecordSink {
public:
    void put_record(std::string_view, bool) override {}
};

// The counts of the benchmark jobs (bench/run-benchmarks.sh): 1 to 50 from
// the Park-Miller generator.
JobResults large_job() {
    constexpr int n = 1000;
    TableInput table;
    table.counts = Matrix<std::int32_t>(n, n);
    std::int64_t x = n * 7919 + n;
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) {
            x = (x * 16807) % 2147483647;
            table.counts(i, j) = static_cast<std::int32_t>(1 + x % 50);
        }
    JobRecord job;
    job.n_rows = job.n_cols = n;
    job.do_nsca = job.do_homogenise = job.do_symmetry = 1;
    job.n_axes = 2;
    job.data_format = "*";
    JobContext context;
    JobObserver observer;
    DiscardedRecords listing;
    return run_job(job, table, context, observer, listing);
}

void BM_Export1000x1000(benchmark::State& state) {
    static const JobResults results = large_job();
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "marvist-export-bench";
    for (auto _ : state) {
        if (export_results(folder, results, std::nullopt)) state.SkipWithError("the export failed");
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_Export1000x1000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace marvist
