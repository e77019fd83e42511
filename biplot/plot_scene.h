// The joint plot laid out on a page: everything a renderer draws, in points
// from the top left corner (y downward), with the labels already placed.
// The SVG writer and the desktop plot window both draw this, so a file and
// the screen show the same picture.
#pragma once

#include <string>
#include <vector>

#include "biplot/joint_plot.h"
#include "biplot/label_placement.h"

namespace marvist {

struct SceneOptions {
    double width = 425.2;          // page width in points (15 cm)
    bool show_labels = true;
    double label_threshold = 0.0;  // active points whose plane contribution is below this are not labelled
    PlacementOptions placement;
};

enum class TextAnchor { Start, Middle, End };

struct SceneText {
    std::string text;
    double x = 0.0, y = 0.0;  // anchor point on the baseline
    double size = 8.0;        // points
    TextAnchor anchor = TextAnchor::Start;
    bool vertical = false;    // turned a quarter counter-clockwise about (x, y)
    bool bold = false;
    bool italic = false;
};

enum class LineRole { Axis, Tick };

struct SceneLine {
    double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0;
    LineRole role = LineRole::Axis;
};

// A row's arrow: the shaft from the origin to the base of the head, and the
// head as a triangle (tip, then its two back corners).
struct SceneArrow {
    int point = 0;  // index into JointPlot::points
    double x0 = 0.0, y0 = 0.0, base_x = 0.0, base_y = 0.0;
    double tip_x = 0.0, tip_y = 0.0, left_x = 0.0, left_y = 0.0, right_x = 0.0, right_y = 0.0;
};

// A column (disc) or supplementary (open triangle) point.
struct SceneMarker {
    int point = 0;  // index into JointPlot::points
    PointKind kind = PointKind::Column;
    double x = 0.0, y = 0.0;
};

struct SceneLabel {
    int point = 0;  // index into JointPlot::points
    PointKind kind = PointKind::Column;
    SceneText text;
    Rect box;
    bool leader = false;
    double leader_x0 = 0.0, leader_y0 = 0.0, leader_x1 = 0.0, leader_y1 = 0.0;
};

struct LegendEntry {
    PointKind kind = PointKind::Column;
    double symbol_x = 0.0, symbol_y = 0.0;  // centre of the symbol
    SceneText text;
};

struct JointPlotScene {
    double width = 0.0, height = 0.0;  // the page
    Rect area;                         // the plotting area inside the frame
    double scale = 1.0;                // points per unit of the solution, the same on both axes
    double origin_x = 0.0, origin_y = 0.0;  // where (0, 0) of the solution lies
    std::vector<SceneLine> lines;      // axes through the origin and tick marks
    std::vector<SceneArrow> arrows;
    std::vector<SceneMarker> markers;
    std::vector<SceneLabel> labels;
    std::vector<SceneText> texts;      // titles, tick values, axis titles, notes
    std::vector<LegendEntry> legend;
    int labels_left_out = 0;           // labels not shown for lack of room
};

// Lays out the plot. Points with a coordinate that is not finite are left
// out of the picture.
JointPlotScene layout_joint_plot(const JointPlot& plot, const SceneOptions& options);

}  // namespace marvist
