#include "plot/axis_scale.h"

#include <cmath>
#include <limits>
#include <stdexcept>

#include <gtest/gtest.h>

#include "base/program_stop.h"

namespace marvist {
namespace {

TEST(AxisScaleHelpers, NearestIntegerRoundsHalvesAwayFromZero) {
    EXPECT_EQ(AxisCell(2.5, 0.0, 1.0), 3);
    EXPECT_EQ(AxisCell(-2.5, 0.0, 1.0), -3);
    // (v - low) / cell: 0.35 above -0.5 in cells of 0.1 is 8.5 -> 9.
    EXPECT_EQ(AxisCell(0.35, -0.5, 0.1), 9);
    EXPECT_EQ(AxisCell(-0.9, -0.5, 0.1), -4);
    // Wild values stay far outside any raster instead of overflowing.
    EXPECT_EQ(NearestInteger(1e300), 1000000000);
    EXPECT_EQ(NearestInteger(-1e300), -1000000000);
    EXPECT_EQ(NearestInteger(std::numeric_limits<double>::quiet_NaN()), -1000000000);
}

TEST(AxisScaleHelpers, TolerantFloorAndStepDecimals) {
    EXPECT_EQ(TolerantFloor(2.9999999999), 2.0);  // no tolerance upwards
    EXPECT_EQ(TolerantFloor(0.0), 0.0);
    EXPECT_EQ(TolerantFloor(-1.3), -2.0);
    EXPECT_EQ(TolerantFloor(-2.0), -2.0);
    EXPECT_EQ(TolerantFloor(-2.0000000001), -2.0);  // within 1e-9 of -2
    EXPECT_EQ(TolerantFloor(-2.00001), -3.0);
    // Decimals of a step: up to its last digit that is not 0.
    EXPECT_EQ(StepDecimals(1.0), 0);
    EXPECT_EQ(StepDecimals(0.025), 3);
    EXPECT_EQ(StepDecimals(0.125), 3);
    EXPECT_EQ(StepDecimals(0.0000001), 7);
    EXPECT_EQ(StepDecimals(0.00000001), 0);  // below the seventh decimal
}

TEST(AxisScaleHelpers, FormatTickValueWritesFixedPointIntoFifteenCharacters) {
    EXPECT_EQ(FormatTickValue(-0.5, 5, 1), " -0.5          ");
    EXPECT_EQ(FormatTickValue(12.0, 3, 0), "12.            ");
    EXPECT_EQ(FormatTickValue(1.0, 15, 9), "    1.000000000");
    // A sum of steps that should be 0 prints without a minus sign.
    EXPECT_EQ(FormatTickValue(-1.3877787807814457e-17, 6, 2), "  0.00         ");
    EXPECT_EQ(FormatTickValue(123.0, 4, 1), "****           ");
    // Layouts outside 1 <= w <= 15, 0 <= d <= 9, d <= w - 2 stop the program.
    const int bad[][2] = {{0, 0}, {16, 2}, {5, -1}, {15, 10}, {5, 4}, {1, 0}, {2, 1}};
    for (const auto& wd : bad) EXPECT_THROW(FormatTickValue(1.0, wd[0], wd[1]), ProgramStop) << wd[0] << "." << wd[1];
    EXPECT_NO_THROW(FormatTickValue(1.0, 2, 0));
    EXPECT_NO_THROW(FormatTickValue(1.0, 11, 9));
}

// -0.5 .. 0.5 across 69 positions: R = 70/69, s = 1 -> 0.1 (R/s rounds to
// 1), halved to 0.025 (R/s = 40.6 >= 34); decimals 3, width 3 + 4 = 7;
// doubled to 0.05 (69 div 6 = 11 <= 20), 0.1 (69 div 5 = 13 > 10).
// m = trunc(6.9 / R) = 6, cell 1/60, E = 1.15 - R.
TEST(ChooseAxisScale, WorkedExample) {
    double low = -0.5, high = 0.5;
    const AxisScale s = ChooseAxisScale(low, high, 69, TickValues::SideBySide);
    EXPECT_DOUBLE_EQ(s.step, 0.1);
    EXPECT_DOUBLE_EQ(s.cell, 0.1 / 6);
    EXPECT_EQ(s.labelWidth, 5);
    EXPECT_EQ(s.decimals, 1);
    EXPECT_NEAR(s.start, -0.5, 1e-15);
    EXPECT_NEAR(high, 0.5 + (1.15 - 70.0 / 69) / 2, 1e-15);  // 0.56775
    EXPECT_NEAR(low, -0.575, 1e-9);
    // The single-precision offset leaves low just below -0.575, so the
    // tick -0.5, 4.5 cells above it, rounds up to cell 5.
    EXPECT_LT(low, -0.575);
    EXPECT_EQ(AxisCell(-0.5, low, s.cell), 5);
    EXPECT_EQ(AxisCell(0.5, low, s.cell), 65);

    // Down 40 positions: R = 1.025, s = 0.1 halved once to 0.05; decimals 2;
    // doubled to 0.1 (20 > 10). m = trunc(4 / 1.025) = 3.
    low = -0.5, high = 0.5;
    const AxisScale d = ChooseAxisScale(low, high, 40, TickValues::Stacked);
    EXPECT_DOUBLE_EQ(d.step, 0.1);
    EXPECT_DOUBLE_EQ(d.cell, 0.1 / 3);
    EXPECT_EQ(d.decimals, 1);
    EXPECT_NEAR(d.start, -0.6, 1e-15);
    EXPECT_NEAR(high, 0.5 + (4.0 / 3 - 1.025) / 2, 1e-15);  // 0.65417
    EXPECT_NEAR(low, -0.65, 1e-8);
    // Here the offset rounds the other way: -0.6 sits just below 1.5 cells.
    EXPECT_GT(low, -0.65);
    EXPECT_EQ(AxisCell(-0.6, low, d.cell), 1);
}

// -0.7 .. 0.7 across: the step is doubled from 0.1 (69 div 5 = 13 is not
// more than 14 steps) to 0.2, and 0.2 still needs its decimal: ticks
// -0.6 .. 0.6 must not print as -1 -0 -0 0 0 1.
TEST(ChooseAxisScale, DoubledStepKeepsTheDecimalsItNeeds) {
    double low = -0.7, high = 0.7;
    const AxisScale s = ChooseAxisScale(low, high, 69, TickValues::SideBySide);
    EXPECT_DOUBLE_EQ(s.step, 0.2);
    EXPECT_EQ(s.decimals, 1);
    EXPECT_EQ(s.labelWidth, 5);
    EXPECT_EQ(FormatTickValue(-0.6, s.labelWidth, s.decimals).substr(0, 5), " -0.6");
}

TEST(ChooseAxisScale, ScalableRangeRejectsWhatHasNoScale) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(ScalableRange(-0.5, 0.5));
    EXPECT_TRUE(ScalableRange(1e-6, 2e-6));
    EXPECT_FALSE(ScalableRange(0.0, 0.0));
    EXPECT_FALSE(ScalableRange(0.5, -0.5));
    EXPECT_FALSE(ScalableRange(-inf, 1.0));
    EXPECT_FALSE(ScalableRange(nan, 1.0));
    EXPECT_FALSE(ScalableRange(-1e-300, 1e-300));
    EXPECT_FALSE(ScalableRange(1e6, 1e6 + 1e-7));  // lost against its ends
    double low = 0.0, high = 0.0;
    EXPECT_THROW(ChooseAxisScale(low, high, 69, TickValues::SideBySide), std::invalid_argument);
}

}  // namespace
}  // namespace marvist
