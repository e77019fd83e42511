// The plot model of one joint plot (biplot) of an NSCA solution: for a pair
// of axes, the response categories as arrows from the origin in standard
// coordinates, the predictor categories as points in principal
// coordinates, supplementary predictors marked apart; axis titles with the
// share of inertia; either axis reflected on request. Units are those of
// the solution; pictures map them with one scale for both axes.
#pragma once

#include <string>
#include <vector>

#include "biplot/axis_pair.h"
#include "biplot/biplot_input.h"

namespace marvist {

enum class PointKind { Row, Column, Supplementary };

struct JointPlotOptions {
    bool reflect_horizontal = false;  // horizontal coordinates multiplied by -1
    bool reflect_vertical = false;
    bool show_rows = true;
    bool show_columns = true;
    bool show_supplementary = true;
};

struct PlotPoint {
    PointKind kind = PointKind::Column;
    int index = 0;             // from 1, within its kind
    std::string name;
    double x = 0.0, y = 0.0;   // coordinates on the two axes, after reflection
    double contribution_x = 0.0;   // share of the horizontal axis's inertia (0 for supplementary)
    double contribution_y = 0.0;   // share of the vertical axis's inertia
    double plane_contribution = 0.0;  // share of the plane's inertia: the two shares weighted by the axes' inertias
};

struct JointPlot {
    AxisPair axes;
    JointPlotOptions options;
    std::string title;             // the job's title
    std::string horizontal_title;  // "Axis 1 (70.5 %)", with ", reflected" when reflected
    std::string vertical_title;
    std::string row_variable;
    std::string column_variable;
    std::vector<PlotPoint> points;  // shown rows, then columns, then supplementary, each in their order
};

// Builds the plot of `axes` (both among the solution's computed axes, which
// are as many as its inertia shares). Throws std::invalid_argument for an
// axis outside them or a category with fewer coordinates or (active
// categories) contributions than axes.
JointPlot build_joint_plot(const BiplotSolution& solution, AxisPair axes, const JointPlotOptions& options);

// "Axis 3 (12.4 %)": the axis number and its share of inertia as a
// percentage with one decimal; ", reflected" is appended when reflected.
std::string axis_title(int axis, double inertia_share, bool reflected);

// Text for a point's tooltip: its kind and name, both coordinates, and its
// contributions to the two axes (none for a supplementary point).
std::string point_description(const JointPlot& plot, const PlotPoint& point);

}  // namespace marvist
