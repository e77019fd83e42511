#include "listing/printer_plot.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/cp437.h"
#include "base/program_stop.h"
#include "base/record_io.h"
#include "base/storage.h"

namespace marvist {
namespace {

std::vector<std::string> AsUtf8(const std::vector<std::string>& records) {
    std::vector<std::string> out;
    for (const std::string& r : records) out.push_back(cp437_to_utf8(r));
    return out;
}

// Ranges +-0.15 both ways.
// Across: R = 0.3 * 70/69; s = 0.1 halved to 0.00625 (R/s = 48.7 >= 34);
// doubled to 0.05, where 69 div 6 = 11 > 6 steps: two decimals, width 6;
// 11 columns a step, cell 0.05/11. Ticks -0.15 .. 0.15 fall on columns
// 11, 22, .. 77 (4.5 cells past low rounds up: the single-precision offset
// leaves low a little low). The tick 0.15 in column 77 writes "  0.15" to
// flat positions 74 .. 79, so its "5" opens the bottom-edge line.
// Down: R = 0.3 * 41/40; s = 0.1 halved to 0.0125 (R/s = 24.6 >= 20),
// doubled to 0.025: three decimals, 3 lines a step, ticks on lines 5 .. 41,
// 0 on line 23. The tick 0 is a sum of steps, -3.5e-17: no minus sign.
// Points: 1 on the vertical origin line; 11 (B) on the horizontal one (an
// even column); 2 and 10 share a cell of the horizontal origin line; 3, 7
// and 9 share a cell; 5 and 12 lie outside (column 88) in one cell, so they
// are listed though not drawn.
const std::vector<double> kXs = {0.0,  0.065, -0.098, 0.12,   0.2,   -0.14,
                                 -0.0985, 0.05, -0.0975, 0.066, 0.11, 0.2};
const std::vector<double> kYs = {0.102, 0.0,   -0.048, 0.13,    0.0,   0.14,
                                 -0.0475, -0.12, -0.0485, 0.001, 0.0, 0.0005};

TEST(DrawPrinterPlot, WholePlotWithTicksOriginLinesAndCoincidences) {
    CapturedRecords out;
    double xLow = -0.15, xHigh = 0.15, yLow = -0.15, yHigh = 0.15;
    DrawPrinterPlot(kXs, kYs, "123456789ABC", 12, LabelMode::GivenLabels, xLow, xHigh, yLow, yHigh, 43, 78, out);
    const std::vector<std::string> got = AsUtf8(out.lines);
    ASSERT_EQ(got.size(), 43u + 14u);
    // Raster records are a blank and 78 bytes, one byte per cell.
    for (int k = 0; k < 43; ++k) EXPECT_EQ(out.lines[static_cast<std::size_t>(k)].size(), 79u) << k;
    const std::pair<std::size_t, const char*> raster[] = {
        {0, "        ┌──+──────────+──────────+──────────+──────────+──────────+──────────+┐"},
        {2, "   0.150┼                                   ∙                                 ┼"},
        {8, "   0.100┼                                   1                                 ┼"},
        {20, "   0.000┼ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ■ ∙ ∙ ∙ ∙ B ∙ ∙ ∙ ∙ ┼"},
        {26, "  -0.050┼             ■                     ∙                                 ┼"},
        {41, " 5      └──+──────────+──────────+──────────+──────────+──────────+──────────+┘"},
        {42, "         -0.15      -0.10      -0.05       0.00       0.05       0.10       0.1"}};
    for (const auto& [k, line] : raster) EXPECT_EQ(got[k], line) << "record " << k + 1;
    // Under the heading of the list (as the golden listings show it), one
    // group of points a cell.
    EXPECT_EQ(std::vector<std::string>(got.begin() + 48, got.end()),
              (std::vector<std::string>{"          2    0.065   0.000  2", "         10    0.066   0.001  A", "",
                                        "          3   -0.098  -0.048  3", "          7   -0.099  -0.048  7",
                                        "          9   -0.098  -0.049  9", "", "          5    0.200   0.000  5",
                                        "         12    0.200   0.001  C"}));
}

TEST(DrawPrinterPlot, WholeNumberTicksDropThePoint) {
    // +-25: step 5 both ways, no decimals. Across, "-25." loses its point
    // and ends in the tick's column; down, the first six characters of F7.0
    // go to columns 2 .. 7.
    CapturedRecords out;
    const std::vector<double> xs = {3.0}, ys = {-7.0};
    double xLow = -25, xHigh = 25, yLow = -25, yHigh = 25;
    DrawPrinterPlot(xs, ys, "1", 1, LabelMode::GivenLabels, xLow, xHigh, yLow, yHigh, 43, 78, out);
    const std::vector<std::string> got = AsUtf8(out.lines);
    ASSERT_EQ(got.size(), 43u);  // no coincidences: the tick values end it
    EXPECT_EQ(got[0], "        ┌─────+─────+─────+─────+─────+─────+─────+─────+─────+─────+─────+───┐");
    EXPECT_EQ(got[2], "      30┼                                   ∙                                 ┼");
    EXPECT_EQ(got[20], "       0┼ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ∙ ┼");
    EXPECT_EQ(got[25], "        │                                   ∙  1                              │");
    EXPECT_EQ(got[42], "            -25   -20   -15   -10    -5     0     5    10    15    20    25    ");
}

TEST(DrawPrinterPlot, RangeWithoutScaleWritesANotice) {
    CapturedRecords out;
    const std::vector<double> zeros = {0.0, 0.0};
    double xLow = 0, xHigh = 0, yLow = -1, yHigh = 1;
    DrawPrinterPlot(zeros, zeros, "12", 2, LabelMode::GivenLabels, xLow, xHigh, yLow, yHigh, 43, 78, out);
    EXPECT_EQ(out.lines, (std::vector<std::string>{" NO PLOT. THE RANGE OF THE COORDINATES CANNOT BE SCALED.", ""}));
}

// A raster refused its storage, and a vertical step that needs six decimals
// (+-0.001: 0.000125), which F7 cannot show.
TEST(DrawPrinterPlot, StopsTheProgram) {
    const auto expect_stop = [](double range, const char* message) {
        CapturedRecords out;
        double xLow = -range, xHigh = range, yLow = -range, yHigh = range;
        try {
            DrawPrinterPlot(kXs, kYs, "123456789ABC", 12, LabelMode::GivenLabels, xLow, xHigh, yLow, yHigh, 43, 78,
                            out);
            ADD_FAILURE() << "no stop";
        } catch (const ProgramStop& stop) {
            EXPECT_STREQ(stop.what(), message);
        }
        EXPECT_TRUE(out.lines.empty());
    };
    set_storage_limit(43 * 78 - 1);
    expect_stop(0.15, "NOT ENOUGH STORAGE FOR PLOT; ABORTING...");
    set_storage_limit(0);
    expect_stop(0.001, "Illegal format specified");
}

}  // namespace
}  // namespace marvist
