// The plot model: which pairs of axes are drawn, coordinates and
// reflections, inertia shares in the axis titles, the contributions that
// rank the labels, and supplementary points told apart.
#include "biplot/joint_plot.h"

#include <stdexcept>

#include <gtest/gtest.h>

namespace marvist {
namespace {

// Three axes; two rows, two columns, one supplementary column.
BiplotSolution three_axes() {
    BiplotSolution s;
    s.title = "Test";
    s.row_variable = "Son";
    s.column_variable = "Father";
    s.inertia_shares = {0.705, 0.2, 0.0449};
    s.rows = {{"Prof", {0.6, -0.8, 0.1}, {0.36, 0.64, 0.01}}, {"Manual", {-0.8, -0.6, 0.2}, {0.64, 0.36, 0.04}}};
    s.columns = {{"Upper", {0.3, 0.1, -0.05}, {0.9, 0.1, 0.5}}, {"Lower", {-0.1, -0.3, 0.05}, {0.1, 0.9, 0.5}}};
    s.supplementary = {{"Farm", {0.2, 0.4, -0.3}, {}}};
    return s;
}

TEST(AxisPairs, TheListingsPairsAndParsing) {
    EXPECT_TRUE(listing_axis_pairs(0).empty());
    EXPECT_TRUE(listing_axis_pairs(1).empty());
    EXPECT_EQ(listing_axis_pairs(2), (std::vector<AxisPair>{{1, 2}}));
    EXPECT_EQ(listing_axis_pairs(3), (std::vector<AxisPair>{{1, 2}, {1, 3}, {2, 3}}));
    EXPECT_EQ(listing_axis_pairs(6),
              (std::vector<AxisPair>{{1, 2}, {1, 3}, {1, 4}, {2, 3}, {2, 4}, {3, 4}, {1, 5}, {1, 6}}));

    EXPECT_EQ(parse_axis_pair("3,4"), (AxisPair{3, 4}));
    EXPECT_EQ(parse_axis_pair("2,1"), (AxisPair{2, 1}));
    for (const char* bad : {"", "1", "1,", ",2", "1,1", "0,2", "-1,2", "1,2,3", "a,b", " 1,2", "1;2", "1,99999999999"})
        EXPECT_FALSE(parse_axis_pair(bad).has_value()) << bad;
}

TEST(JointPlot, CoordinatesOfTheChosenAxesWithReflections) {
    const BiplotSolution s = three_axes();
    const JointPlot plain = build_joint_plot(s, {3, 1}, {});
    ASSERT_EQ(plain.points.size(), 5u);
    EXPECT_EQ(plain.points[0].kind, PointKind::Row);
    EXPECT_EQ(plain.points[0].name, "Prof");
    EXPECT_DOUBLE_EQ(plain.points[0].x, 0.1);
    EXPECT_DOUBLE_EQ(plain.points[0].y, 0.6);
    EXPECT_EQ(plain.points[3].kind, PointKind::Column);
    EXPECT_EQ(plain.points[3].index, 2);
    EXPECT_DOUBLE_EQ(plain.points[3].x, 0.05);
    EXPECT_DOUBLE_EQ(plain.points[3].y, -0.1);

    const JointPlot flipped = build_joint_plot(s, {3, 1}, {.reflect_vertical = true});
    const JointPlot both = build_joint_plot(s, {3, 1}, {.reflect_horizontal = true, .reflect_vertical = true});
    for (std::size_t i = 0; i < plain.points.size(); ++i) {
        EXPECT_EQ(flipped.points[i].x, plain.points[i].x);
        EXPECT_EQ(flipped.points[i].y, -plain.points[i].y);
        EXPECT_EQ(both.points[i].x, -plain.points[i].x);
        EXPECT_EQ(both.points[i].y, -plain.points[i].y);
        EXPECT_EQ(both.points[i].plane_contribution, plain.points[i].plane_contribution);
    }
}

TEST(JointPlot, AxisTitlesCarryTheShareOfInertia) {
    const JointPlot p = build_joint_plot(three_axes(), {1, 3}, {.reflect_horizontal = true});
    EXPECT_EQ(p.horizontal_title, "Axis 1 (70.5 %), reflected");
    EXPECT_EQ(p.vertical_title, "Axis 3 (4.5 %)");
    EXPECT_EQ(axis_title(2, 0.2, false), "Axis 2 (20.0 %)");
    EXPECT_EQ(axis_title(12, 0.99951, false), "Axis 12 (100.0 %)");
    EXPECT_EQ(axis_title(4, 0.0, false), "Axis 4 (0.0 %)");
}

// The plane's share: each axis's share weighted by the axis's inertia.
// Row 1 on axes 1 and 2: (0.705 * 0.36 + 0.2 * 0.64) / 0.905.
TEST(JointPlot, PlaneContributionWeighsTheAxesByTheirInertia) {
    const JointPlot p = build_joint_plot(three_axes(), {1, 2}, {});
    EXPECT_DOUBLE_EQ(p.points[0].plane_contribution, (0.705 * 0.36 + 0.2 * 0.64) / 0.905);
    EXPECT_DOUBLE_EQ(p.points[0].contribution_x, 0.36);
    EXPECT_DOUBLE_EQ(p.points[0].contribution_y, 0.64);
    // Over each set of active points the shares of the plane sum to 1.
    EXPECT_DOUBLE_EQ(p.points[0].plane_contribution + p.points[1].plane_contribution, 1.0);
    EXPECT_DOUBLE_EQ(p.points[2].plane_contribution + p.points[3].plane_contribution, 1.0);
}

TEST(JointPlot, SupplementaryPointsAreMarkedApartAndKindsCanBeHidden) {
    const BiplotSolution s = three_axes();
    const JointPlot p = build_joint_plot(s, {1, 2}, {});
    const PlotPoint& farm = p.points[4];
    EXPECT_EQ(farm.kind, PointKind::Supplementary);
    EXPECT_EQ(farm.index, 1);
    EXPECT_EQ(farm.plane_contribution, 0.0);
    EXPECT_EQ(point_description(p, farm), "Supplementary column 1: Farm\nAxis 1: 0.2000, axis 2: 0.4000");
    EXPECT_EQ(point_description(p, p.points[1]),
              "Row 2: Manual\nAxis 1: -0.8000, axis 2: -0.6000\nContribution to axis 1: 64.0 %, to axis 2: 36.0 %");

    const JointPlot columns_only =
        build_joint_plot(s, {1, 2}, {.show_rows = false, .show_supplementary = false});
    ASSERT_EQ(columns_only.points.size(), 2u);
    EXPECT_EQ(columns_only.points[0].name, "Upper");
    EXPECT_TRUE(build_joint_plot(s, {1, 2}, {.show_rows = false, .show_columns = false, .show_supplementary = false})
                    .points.empty());
}

TEST(JointPlot, AxesOutsideTheSolutionOrShortCategoriesAreRefused) {
    BiplotSolution s = three_axes();
    EXPECT_THROW(build_joint_plot(s, {1, 4}, {}), std::invalid_argument);
    EXPECT_THROW(build_joint_plot(s, {0, 2}, {}), std::invalid_argument);
    s.columns[1].contributions.pop_back();
    EXPECT_THROW(build_joint_plot(s, {1, 2}, {}), std::invalid_argument);
    EXPECT_NO_THROW(build_joint_plot(s, {1, 2}, {.show_columns = false}));
    s.supplementary[0].coordinates.resize(2);
    EXPECT_THROW(build_joint_plot(s, {1, 2}, {.show_columns = false}), std::invalid_argument);
}

}  // namespace
}  // namespace marvist
