// Writes joint plots of made-up solutions as SVG files into the folder given
// on the command line, for the render check: a small plot, a crowded one
// with long and non-ASCII names, and the pairs of a three-axis solution.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>

#include "biplot/axis_pair.h"
#include "biplot/joint_plot.h"
#include "biplot/plot_scene.h"
#include "svg/svg_writer.h"

namespace {

using namespace marvist;

double uniform(std::mt19937& g) { return g() / 4294967296.0 - 0.5; }

// Rows with unit-length coordinates per axis, columns scattered, shares
// from the squared coordinates.
BiplotSolution made_up(int rows, int columns, int axes, const std::string& title, std::uint32_t seed) {
    std::mt19937 g(seed);
    BiplotSolution s{.title = title, .row_variable = "Response", .column_variable = "Predictor"};
    double left = 1.0;
    for (int k = 0; k < axes; ++k) s.inertia_shares.push_back(left *= 0.55);
    for (int i = 0; i < rows; ++i) s.rows.push_back({"Row " + std::to_string(i + 1), {}, {}});
    for (int j = 0; j < columns; ++j) s.columns.push_back({"Col " + std::to_string(j + 1), {}, {}});
    for (int k = 0; k < axes; ++k) {
        double rs = 0.0, cs = 0.0;
        for (auto& r : s.rows) rs += std::pow(r.coordinates.emplace_back(uniform(g)), 2);
        for (auto& c : s.columns) cs += std::pow(c.coordinates.emplace_back(0.4 * uniform(g) / (k + 1)), 2);
        for (auto& r : s.rows) r.contributions.push_back(std::pow(r.coordinates[k] /= std::sqrt(rs), 2));
        for (auto& c : s.columns) c.contributions.push_back(std::pow(c.coordinates[k], 2) / cs);
    }
    s.supplementary.push_back({"Supplementary", std::vector<double>(axes, 0.05), {}});
    return s;
}

bool write(const std::string& path, const BiplotSolution& s, AxisPair axes) {
    const JointPlot plot = build_joint_plot(s, axes, {});
    std::ofstream out(path, std::ios::binary);
    out << joint_plot_svg(plot, layout_joint_plot(plot, {}));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_sample_plots FOLDER\n");
        return 2;
    }
    const std::string dir = argv[1];
    bool ok = write(dir + "/small.svg", made_up(5, 4, 2, "A small table", 1), {1, 2});
    BiplotSolution crowded = made_up(60, 80, 2, "A crowded map: 60 rows, 80 columns", 2);
    crowded.columns[3].name = "A category with a rather long name that has to be cut";
    crowded.columns[4].name = "Z\xC3\xBCrich & <Gen\xC3\xA8ve>";
    crowded.rows[0].name = "\xE4\xB8\xAD\xE6\x96\x87";
    ok = write(dir + "/crowded.svg", crowded, {1, 2}) && ok;
    const BiplotSolution three = made_up(8, 6, 3, "Three axes", 3);
    for (const AxisPair& pair : listing_axis_pairs(3))
        ok = write(dir + "/three-" + std::to_string(pair.horizontal) + "-" + std::to_string(pair.vertical) + ".svg",
                   three, pair) && ok;
    return ok ? 0 : 1;
}
