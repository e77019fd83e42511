#include "biplot/joint_plot.h"

#include <stdexcept>

#include "biplot/fixed_number.h"

namespace marvist {
namespace {

void require_axes(const PlotCategory& category, std::size_t n_axes, bool active) {
    if (category.coordinates.size() < n_axes || (active && category.contributions.size() < n_axes))
        throw std::invalid_argument("joint plot: category '" + category.name + "' lacks coordinates or contributions");
}

void add_points(JointPlot& plot, const std::vector<PlotCategory>& categories, PointKind kind,
                const BiplotSolution& solution) {
    const std::size_t n_axes = solution.inertia_shares.size();
    const int h = plot.axes.horizontal - 1, v = plot.axes.vertical - 1;
    const double sign_x = plot.options.reflect_horizontal ? -1.0 : 1.0;
    const double sign_y = plot.options.reflect_vertical ? -1.0 : 1.0;
    const double share_x = solution.inertia_shares[h], share_y = solution.inertia_shares[v];
    const bool active = kind != PointKind::Supplementary;
    int index = 0;
    for (const PlotCategory& category : categories) {
        require_axes(category, n_axes, active);
        PlotPoint point{.kind = kind, .index = ++index, .name = category.name};
        point.x = sign_x * category.coordinates[h];
        point.y = sign_y * category.coordinates[v];
        if (active) {
            point.contribution_x = category.contributions[h];
            point.contribution_y = category.contributions[v];
            const double plane = share_x + share_y;
            if (plane > 0.0)
                point.plane_contribution = (share_x * point.contribution_x + share_y * point.contribution_y) / plane;
        }
        plot.points.push_back(std::move(point));
    }
}

std::string percent(double share) { return fixed_number(100.0 * share, 1) + " %"; }

const char* kind_name(PointKind kind) {
    switch (kind) {
        case PointKind::Row: return "Row";
        case PointKind::Column: return "Column";
        case PointKind::Supplementary: return "Supplementary column";
    }
    return "";
}

}  // namespace

std::string axis_title(int axis, double inertia_share, bool reflected) {
    std::string title = "Axis " + std::to_string(axis) + " (" + percent(inertia_share) + ")";
    if (reflected) title += ", reflected";
    return title;
}

JointPlot build_joint_plot(const BiplotSolution& solution, AxisPair axes, const JointPlotOptions& options) {
    const int n_axes = static_cast<int>(solution.inertia_shares.size());
    if (axes.horizontal < 1 || axes.horizontal > n_axes || axes.vertical < 1 || axes.vertical > n_axes)
        throw std::invalid_argument("joint plot: axes " + std::to_string(axes.horizontal) + " and " +
                                    std::to_string(axes.vertical) + " are not among the " + std::to_string(n_axes) +
                                    " computed axes");
    JointPlot plot{.axes = axes,
                   .options = options,
                   .title = solution.title,
                   .horizontal_title = axis_title(axes.horizontal, solution.inertia_shares[axes.horizontal - 1],
                                                  options.reflect_horizontal),
                   .vertical_title = axis_title(axes.vertical, solution.inertia_shares[axes.vertical - 1],
                                                options.reflect_vertical),
                   .row_variable = solution.row_variable,
                   .column_variable = solution.column_variable};
    if (options.show_rows) add_points(plot, solution.rows, PointKind::Row, solution);
    if (options.show_columns) add_points(plot, solution.columns, PointKind::Column, solution);
    if (options.show_supplementary) add_points(plot, solution.supplementary, PointKind::Supplementary, solution);
    return plot;
}

std::string point_description(const JointPlot& plot, const PlotPoint& point) {
    const std::string h = std::to_string(plot.axes.horizontal), v = std::to_string(plot.axes.vertical);
    std::string text = std::string(kind_name(point.kind)) + " " + std::to_string(point.index) + ": " + point.name;
    text += "\nAxis " + h + ": " + fixed_number(point.x, 4) + ", axis " + v + ": " + fixed_number(point.y, 4);
    if (point.kind != PointKind::Supplementary) {
        text += "\nContribution to axis " + h + ": " + percent(point.contribution_x) + ", to axis " + v + ": " +
                percent(point.contribution_y);
    }
    return text;
}

}  // namespace marvist
