// Time of the joint plots as pictures: placing 200 labels; the model,
// layout and SVG of a made-up solution with 1000 rows and 1000 columns; and
// everything --plots adds to a real 1000 x 1000 job (the solution taken from
// its results, every SVG of the listing's pairs, the files written).
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include <filesystem>

#include "analysis/biplot_solution.h"
#include "analysis/driver.h"
#include "app/batch/plot_output.h"
#include "biplot/joint_plot.h"
#include "listing/listing_writer.h"
#include "biplot/label_placement.h"
#include "biplot/plot_scene.h"
#include "svg/svg_writer.h"

namespace marvist {
namespace {

double uniform(std::mt19937& g) { return g() / 4294967296.0; }

// n labels of 20 to 50 x 10 points at random points of an area 400 x 300
// points times `scale`, with as many unlabelled points again: at scale 1
// room runs out, at scale 3 every label finds a place.
void BM_PlaceLabels(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const double scale = static_cast<double>(state.range(1));
    std::mt19937 g(42);
    const Rect area{0.0, 0.0, 400.0 * scale, 300.0 * scale};
    std::vector<LabelRequest> requests;
    std::vector<PointObstacle> points;
    for (int i = 0; i < 2 * n; ++i) {
        const double x = 10.0 + (area.right - 20.0) * uniform(g), y = 10.0 + (area.bottom - 20.0) * uniform(g);
        points.push_back({x, y, 2.6});
        if (i < n)
            requests.push_back({.anchor_x = x, .anchor_y = y, .anchor_radius = 2.6, .width = 20.0 + 30.0 * uniform(g),
                                .height = 10.0, .direction_x = x - area.right / 2.0,
                                .direction_y = y - area.bottom / 2.0,
                                .priority = uniform(g)});
    }
    int shown = 0;
    for (auto _ : state) {
        const LabelPlacement p = place_labels(requests, points, {}, area, {});
        shown = static_cast<int>(requests.size()) - p.left_out;
        benchmark::DoNotOptimize(p.labels.data());
    }
    state.counters["shown"] = shown;
}
BENCHMARK(BM_PlaceLabels)->Args({60, 1})->Args({200, 1})->Args({200, 3})->Unit(benchmark::kMillisecond);

BiplotSolution large_solution(int rows, int columns) {
    std::mt19937 g(7);
    BiplotSolution s{.title = "Large", .row_variable = "Rows", .column_variable = "Columns", .inertia_shares = {0.3, 0.2}};
    for (int i = 0; i < rows; ++i) s.rows.push_back({std::to_string(i + 1).insert(0, 1, 'R'), {}, {}});
    for (int j = 0; j < columns; ++j) s.columns.push_back({std::to_string(j + 1).insert(0, 1, 'C'), {}, {}});
    for (int k = 0; k < 2; ++k) {
        double rs = 0.0, cs = 0.0;
        for (auto& r : s.rows) rs += std::pow(r.coordinates.emplace_back(uniform(g) - 0.5), 2);
        for (auto& c : s.columns) cs += std::pow(c.coordinates.emplace_back(0.1 * (uniform(g) - 0.5)), 2);
        for (auto& r : s.rows) r.contributions.push_back(std::pow(r.coordinates[k] /= std::sqrt(rs), 2));
        for (auto& c : s.columns) c.contributions.push_back(std::pow(c.coordinates[k], 2) / cs);
    }
    return s;
}

void BM_JointPlotSvg1000x1000(benchmark::State& state) {
    const BiplotSolution s = large_solution(1000, 1000);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const JointPlot plot = build_joint_plot(s, {1, 2}, {});
        const std::string svg = joint_plot_svg(plot, layout_joint_plot(plot, {}));
        bytes = svg.size();
        benchmark::DoNotOptimize(svg.data());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_JointPlotSvg1000x1000)->Unit(benchmark::kMillisecond);

// The listing of the job, thrown away.
struct NoListing : RecordSink {
    void put_record(std::string_view, bool) override {}
};

// The 1000 x 1000 job of bench/run-benchmarks.sh (counts 1 to 50 from the
// Park-Miller generator) with NSCA on 2 axes, run once from memory.
const JobResults& large_job() {
    static const JobResults results = [] {
        JobRecord job;
        job.n_rows = job.n_cols = 1000;
        job.do_nsca = 1;
        job.n_axes = 2;
        TableInput table;
        table.counts = Matrix<std::int32_t>(1000, 1000);
        std::int64_t x = 1000 * 7919 + 1000;
        for (int i = 1; i <= 1000; ++i) {
            for (int j = 1; j <= 1000; ++j) {
                x = (x * 16807) % 2147483647;
                table.counts(i, j) = static_cast<std::int32_t>(1 + x % 50);
            }
        }
        ListingWriter writer;
        NoListing listing;
        return run_job(job, table, JobContext{}, writer, listing);
    }();
    return results;
}

void BM_PlotsOfA1000x1000Job(benchmark::State& state) {
    const JobResults& results = large_job();
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "marvist-plot-bench";
    std::FILE* err = std::tmpfile();
    for (auto _ : state) {
        if (write_plot_files(results, {.folder = folder.string()}, err) != PlotOutcome::Written)
            state.SkipWithError("the plots were not written");
    }
    std::fclose(err);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_PlotsOfA1000x1000Job)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace marvist
