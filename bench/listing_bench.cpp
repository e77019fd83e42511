// Listing-writing throughput: labelled-matrix lines of 14 values through the
// layout engine, to an output file on /dev/null, to a temporary file and to
// memory. Reported as bytes per second.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/layout.h"
#include "base/record_io.h"

namespace marvist {
namespace {

// A row of the summary printer: number, key, label, summary value and ten values.
constexpr std::string_view kRowLayout = "(' ',I2,2X,A1,1X,A6,' │',F7.3,' │',10F7.3)";
constexpr int kRowsPerIteration = 1000;

double value_of(int row, int col) { return ((row * 37 + col * 11) % 2000) / 7.0 - 142.0; }

void write_rows(RecordSink& sink) {
    for (int i = 1; i <= kRowsPerIteration; ++i) {
        write_records(sink, kRowLayout,
                      {i % 100, "1", "rowlab", value_of(i, 0), value_of(i, 1), value_of(i, 2), value_of(i, 3),
                       value_of(i, 4), value_of(i, 5), value_of(i, 6), value_of(i, 7), value_of(i, 8),
                       value_of(i, 9), value_of(i, 10)});
    }
}

// Bytes of one iteration, line ends included.
std::int64_t bytes_per_iteration() {
    CapturedRecords lines;
    write_rows(lines);
    std::int64_t n = 0;
    for (const auto& l : lines.lines) n += static_cast<std::int64_t>(l.size()) + 1;
    return n;
}

// Keeps up to a megabyte in memory, as a window's text buffer would.
class MemorySink : public RecordSink {
public:
    void put_record(std::string_view record, bool complete) override {
        if (text.size() > (1u << 20)) text.clear();
        text.append(record);
        if (complete) text += '\n';
    }
    std::string text;
};

void BM_RowsToMemory(benchmark::State& state) {
    MemorySink sink;
    sink.text.reserve(2u << 20);
    for (auto _ : state) write_rows(sink);
    state.SetBytesProcessed(state.iterations() * bytes_per_iteration());
}
BENCHMARK(BM_RowsToMemory);

void run_to_file(benchmark::State& state, const std::string& path) {
    OutputFile file;
    if (!file.open(path)) {
        state.SkipWithError("cannot open the output file");
        return;
    }
    for (auto _ : state) write_rows(file);
    if (!file.close()) state.SkipWithError("writing failed");
    state.SetBytesProcessed(state.iterations() * bytes_per_iteration());
}

void BM_RowsToDevNull(benchmark::State& state) { run_to_file(state, "/dev/null"); }
BENCHMARK(BM_RowsToDevNull);

void BM_RowsToTempFile(benchmark::State& state) {
    const auto path = std::filesystem::temp_directory_path() / "marvist-listing-bench.out";
    run_to_file(state, path.string());
    std::error_code ec;
    std::filesystem::remove(path, ec);
}
BENCHMARK(BM_RowsToTempFile);

// A long vector in lines of ten values, by reversion of one layout.
void BM_VectorByReversion(benchmark::State& state) {
    std::vector<Value> values;
    for (int k = 0; k < 1000; ++k) values.emplace_back(value_of(k, 3));
    const Layout& layout = cached_layout("(' ',10F7.3)");
    MemorySink sink;
    for (auto _ : state) write_records(sink, layout, values);
    state.SetBytesProcessed(state.iterations() * (100 * 72));
}
BENCHMARK(BM_VectorByReversion);

}  // namespace
}  // namespace marvist
