// The page layout of a joint plot: one scale for both axes, points and
// labels inside the area, the origin where the axes cross, titles, ticks and
// legend, what the labels show and the note on those left out.
#include "biplot/plot_scene.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

#include <gtest/gtest.h>

namespace marvist {
namespace {

// An elongated solution: axis 1 spans 2.0, axis 2 only 0.3.
BiplotSolution elongated(int n_columns = 4) {
    BiplotSolution s;
    s.title = "Title";
    s.row_variable = "Response";
    s.column_variable = "Predictor";
    s.inertia_shares = {0.8, 0.15};
    s.rows = {{"r1", {1.0, 0.1}, {0.5, 0.1}}, {"r2", {-1.0, -0.05}, {0.5, 0.9}}};
    std::mt19937 g(1);
    for (int j = 0; j < n_columns; ++j) {
        const double x = -0.5 + (g() / 4294967296.0), y = -0.15 + 0.3 * (g() / 4294967296.0);
        s.columns.push_back({"c" + std::to_string(j + 1), {x, y}, {1.0 / n_columns, 1.0 / n_columns}});
    }
    s.supplementary = {{"s1", {0.2, -0.15}, {}}};
    return s;
}

bool inside(double x, double y, const Rect& a) {
    return x >= a.left && x <= a.right && y >= a.top && y <= a.bottom;
}

const SceneText* find_text(const JointPlotScene& scene, const std::string& text) {
    for (const SceneText& t : scene.texts)
        if (t.text == text) return &t;
    return nullptr;
}

TEST(PlotScene, OneScaleForBothAxesAndEveryPointInTheArea) {
    const JointPlot plot = build_joint_plot(elongated(), {1, 2}, {});
    const JointPlotScene scene = layout_joint_plot(plot, {});
    EXPECT_DOUBLE_EQ(scene.width, 425.2);
    EXPECT_GT(scene.height, scene.area.bottom);
    // The area is kept from growing flat: its height is at least 0.6 of its width.
    EXPECT_GE(scene.area.height(), 0.6 * scene.area.width() - 1e-9);
    ASSERT_EQ(scene.markers.size(), 5u);
    ASSERT_EQ(scene.arrows.size(), 2u);
    for (const SceneMarker& m : scene.markers) {
        const PlotPoint& p = plot.points[m.point];
        EXPECT_NEAR(m.x - scene.origin_x, p.x * scene.scale, 1e-9);
        EXPECT_NEAR(scene.origin_y - m.y, p.y * scene.scale, 1e-9);
        EXPECT_TRUE(inside(m.x, m.y, scene.area));
    }
    for (const SceneArrow& a : scene.arrows) {
        const PlotPoint& p = plot.points[a.point];
        EXPECT_EQ(p.kind, PointKind::Row);
        EXPECT_NEAR(a.tip_x - scene.origin_x, p.x * scene.scale, 1e-9);
        EXPECT_NEAR(scene.origin_y - a.tip_y, p.y * scene.scale, 1e-9);
        EXPECT_EQ(a.x0, scene.origin_x);
        EXPECT_EQ(a.y0, scene.origin_y);
        EXPECT_TRUE(inside(a.tip_x, a.tip_y, scene.area));
    }
    // The axes cross at the origin.
    int axes = 0;
    for (const SceneLine& l : scene.lines) {
        if (l.role != LineRole::Axis) continue;
        ++axes;
        EXPECT_TRUE((l.x0 == scene.origin_x && l.x1 == scene.origin_x) ||
                    (l.y0 == scene.origin_y && l.y1 == scene.origin_y));
    }
    EXPECT_EQ(axes, 2);
}

// The tick values are multiples of one step, at the same step on both
// axes, each written at its place along the axis.
TEST(PlotScene, TicksAreRoundValuesAtTheirPlaces) {
    const JointPlot plot = build_joint_plot(elongated(), {1, 2}, {});
    const JointPlotScene scene = layout_joint_plot(plot, {});
    const SceneText* zero = find_text(scene, "0.0");
    const SceneText* one = find_text(scene, "1.0");
    const SceneText* minus = find_text(scene, "-0.5");
    ASSERT_TRUE(zero && one && minus);
    EXPECT_NEAR(one->x - scene.origin_x, 1.0 * scene.scale, 1e-9);
    EXPECT_NEAR(minus->x - scene.origin_x, -0.5 * scene.scale, 1e-9);
    EXPECT_EQ(find_text(scene, "-0.0"), nullptr);
    EXPECT_NE(find_text(scene, "Axis 1 (80.0 %)"), nullptr);
    EXPECT_NE(find_text(scene, "Axis 2 (15.0 %)"), nullptr);
    EXPECT_NE(find_text(scene, "Title"), nullptr);
    EXPECT_NE(find_text(scene, "Joint plot of axes 1 and 2"), nullptr);
}

TEST(PlotScene, LegendShowsTheKindsPresent) {
    const BiplotSolution s = elongated();
    const JointPlotScene all = layout_joint_plot(build_joint_plot(s, {1, 2}, {}), {});
    ASSERT_EQ(all.legend.size(), 3u);
    EXPECT_EQ(all.legend[0].text.text, "Response (rows), standard coordinates");
    EXPECT_EQ(all.legend[1].text.text, "Predictor (columns), principal coordinates");
    EXPECT_EQ(all.legend[2].text.text, "Supplementary columns, principal coordinates");
    for (const LegendEntry& e : all.legend) EXPECT_LT(e.text.x + 1.0, all.width);

    BiplotSolution plain = s;
    plain.supplementary.clear();
    plain.row_variable.clear();
    const JointPlotScene two = layout_joint_plot(build_joint_plot(plain, {1, 2}, {}), {});
    ASSERT_EQ(two.legend.size(), 2u);
    EXPECT_EQ(two.legend[0].text.text, "Rows, standard coordinates");
}

TEST(PlotScene, WhatIsLabelled) {
    const JointPlot plot = build_joint_plot(elongated(8), {1, 2}, {});
    const JointPlotScene all = layout_joint_plot(plot, {});
    EXPECT_EQ(all.labels.size() + all.labels_left_out, plot.points.size());
    for (const SceneLabel& l : all.labels) {
        EXPECT_EQ(l.text.text, plot.points[l.point].name);
        EXPECT_TRUE(inside(l.box.left, l.box.top, all.area) && inside(l.box.right, l.box.bottom, all.area));
    }
    EXPECT_TRUE(layout_joint_plot(plot, {.show_labels = false}).labels.empty());

    // Columns carry 1/8 of the plane each; rows 0.5 * 0.8/0.95 + 0.1 * 0.15/0.95 and more.
    const JointPlotScene rows_only = layout_joint_plot(plot, {.label_threshold = 0.2});
    for (const SceneLabel& l : rows_only.labels) EXPECT_NE(l.kind, PointKind::Column);
    ASSERT_EQ(rows_only.labels.size(), 3u);  // two rows and the supplementary point
    EXPECT_NE(find_text(rows_only, "Points contributing less than 20.0 % to the plane are not labelled."), nullptr);
}

TEST(PlotScene, CrowdedPlotSaysHowManyLabelsAreLeftOut) {
    const JointPlot plot = build_joint_plot(elongated(400), {1, 2}, {});
    const JointPlotScene scene = layout_joint_plot(plot, {});
    ASSERT_GT(scene.labels_left_out, 1);
    EXPECT_EQ(scene.labels.size() + scene.labels_left_out, plot.points.size());
    const std::string note = "The labels of " + std::to_string(scene.labels_left_out) +
                             " points contributing least are left out for lack of room.";
    const SceneText* text = find_text(scene, note);
    ASSERT_NE(text, nullptr);
    EXPECT_GT(text->y, scene.area.bottom);
    EXPECT_LT(text->y, scene.height);
}

// Long names are cut with an ellipsis; points that are not numbers are left
// out of the picture; a solution at the origin alone still has a scale.
TEST(PlotScene, LongNamesUnplottablePointsAndEmptyPlots) {
    BiplotSolution s = elongated();
    s.columns[0].name = std::string(200, 'W');
    s.columns[1].coordinates[0] = std::nan("");
    const JointPlot plot = build_joint_plot(s, {1, 2}, {});
    const JointPlotScene scene = layout_joint_plot(plot, {});
    EXPECT_EQ(scene.markers.size(), 4u);
    for (const SceneLabel& l : scene.labels) {
        EXPECT_NE(l.point, 3);
        if (l.point == 2) {
            EXPECT_LT(l.box.width(), 0.4 * scene.area.width());
            EXPECT_EQ(l.text.text.substr(l.text.text.size() - 3), "\u2026");
        }
    }

    const JointPlotScene empty = layout_joint_plot(build_joint_plot(s, {1, 2}, {.show_rows = false,
                                                                              .show_columns = false,
                                                                              .show_supplementary = false}),
                                                   {});
    EXPECT_TRUE(std::isfinite(empty.scale) && empty.scale > 0.0);
    EXPECT_TRUE(empty.legend.empty());
    EXPECT_TRUE(inside(empty.origin_x, empty.origin_y, empty.area));
}

}  // namespace
}  // namespace marvist
