// The joint plots of a solution as SVG documents, one per pair of axes.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "biplot/axis_pair.h"
#include "biplot/biplot_input.h"

namespace marvist {

struct PlotPicture {
    AxisPair axes;
    std::string file_name;  // "joint-<i>-<j>.svg"
    std::string svg;
};

// "joint-1-2.svg" for axes 1 and 2.
std::string joint_plot_file_name(AxisPair axes);

// The pictures of `pairs` (each among the solution's axes), laid out as the
// plot window lays them out by default.
std::vector<PlotPicture> joint_plot_pictures(const BiplotSolution& solution, std::span<const AxisPair> pairs);

}  // namespace marvist
