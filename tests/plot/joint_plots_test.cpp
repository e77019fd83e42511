#include "plot/joint_plots.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/run_state.h"
#include "listing/record_io.h"
#include "listing/storage.h"
#include "plot/axis_scale.h"
#include "plot/printer_plot.h"
#include "support/test_support.h"

namespace marvist {
namespace {

using Lines = std::vector<std::string>;

Matrix<double> Coordinates(int rows, int cols, const std::vector<double>& by_column) {
    Matrix<double> m(rows, cols);
    std::copy(by_column.begin(), by_column.end(), m.data());
    return m;
}

std::vector<double> Axis(const Matrix<double>& rows, const Matrix<double>& cols, int k) {
    std::vector<double> v(rows.column(k), rows.column(k) + rows.rows());
    v.insert(v.end(), cols.column(k), cols.column(k) + cols.rows());
    return v;
}

Lines Heading(int across, int down) {
    char line[64];
    std::snprintf(line, sizeof line, " COMPONENT%3d  (HOR.) VERSUS COMPONENT%3d  (VERT.)", across, down);
    return {"", " COMPONENT LOADINGS OF MODE 1 AND MODE 2 (JOINT PLOT)", line};
}

// The records of one plot drawn directly.
Lines Plot(const std::vector<double>& xs, const std::vector<double>& ys, std::string_view marks, LabelMode mode,
           double& xLow, double& xHigh, double& yLow, double& yHigh) {
    CapturedRecords out;
    DrawPrinterPlot(xs, ys, marks, static_cast<int>(xs.size()), mode, xLow, xHigh, yLow, yHigh, 43, 78, out);
    return out.lines;
}

Lines Slice(const Lines& all, std::size_t from, std::size_t count) {
    return Lines(all.begin() + static_cast<long>(from), all.begin() + static_cast<long>(from + count));
}

struct PlotJob {
    CapturedRecords listing;
    test::CapturingReportSink reports;
    RunState rs;
    PlotJob() { rs.reports = &reports; }
};

TEST(PlotAxisPairs, OneOrNoAxisGivesNoPicture) {
    PlotJob one, none;
    const Matrix<double> rows = Coordinates(2, 1, {0.3, -0.3});
    const Matrix<double> cols = Coordinates(2, 1, {0.1, -0.1});
    DrawJointPlots(rows, cols, 2, 2, 1, one.listing, one.rs);
    EXPECT_EQ(one.listing.lines, (Lines{"", " NO PLOT. THE NUMBER OF DIMENSIONS IS ONE.", ""}));
    DrawJointPlots(rows, cols, 2, 2, 0, none.listing, none.rs);
    EXPECT_TRUE(none.listing.lines.empty());
    EXPECT_EQ(one.rs.fatal_state, kFatalNone);
}

// Rows (0.4, 0.1), (-0.2, 0.3), (0.1, -0.5); columns (-0.4, -0.2),
// (0.2, 0.2): M = 0.5, and row 1 and column 1 are both marked 1.
TEST(PlotAxisPairs, TwoAxesGiveOneHeadedPlotOfRowsAndColumns) {
    PlotJob run;
    const Matrix<double> rows = Coordinates(3, 2, {0.4, -0.2, 0.1, 0.1, 0.3, -0.5});
    const Matrix<double> cols = Coordinates(2, 2, {-0.4, 0.2, -0.2, 0.2});
    DrawJointPlots(rows, cols, 3, 2, 2, run.listing, run.rs);
    const Lines& got = run.listing.lines;
    ASSERT_EQ(got.size(), 3u + 43u);
    EXPECT_EQ(Slice(got, 0, 3), Heading(1, 2));

    double xl = -0.5, xh = 0.5, yl = -0.5, yh = 0.5;
    EXPECT_EQ(Slice(got, 3, 43), Plot(Axis(rows, cols, 1), Axis(rows, cols, 2), "12312", LabelMode::GivenLabels,
                                      xl, xh, yl, yh));
    // Cells on the scale of +-0.5 (line 1 is the last record of the plot).
    auto mark = [&](double x, double y) {
        const int column = AxisCell(x, xl, 0.1 / 6) + 9;
        const int line = AxisCell(y, yl, 0.1 / 3) + 3;
        return got[static_cast<std::size_t>(3 + 43 - line)][static_cast<std::size_t>(column)];
    };
    EXPECT_EQ(mark(0.4, 0.1), '1');    // row 1
    EXPECT_EQ(mark(-0.2, 0.3), '2');   // row 2
    EXPECT_EQ(mark(0.1, -0.5), '3');   // row 3
    EXPECT_EQ(mark(-0.4, -0.2), '1');  // column 1
    EXPECT_EQ(mark(0.2, 0.2), '2');    // column 2
}

// Five axes: six plots of the axis pairs of 1 .. 4 with their ranges reset
// to +-M, then axis 1 against axis 5 by sequence marks, ranges carried on
// from the plot of axes 3 and 4. Column 2 lies at 10 on axis 5, far
// beyond M = 0.5, and is left out.
TEST(PlotAxisPairs, FiveAxesAddASequencePlotWithCarriedRanges) {
    PlotJob run;
    const Matrix<double> rows = Coordinates(3, 5,
                                            {0.4, -0.2, 0.1,  0.1, 0.3, -0.5,  -0.3, 0.2, 0.1,
                                             0.05, -0.1, 0.2,  0.3, 0.3, -0.3});
    const Matrix<double> cols = Coordinates(2, 5, {-0.4, 0.2, -0.2, 0.2, 0.25, -0.25, 0.15, -0.35, 0.45, 10.0});
    DrawJointPlots(rows, cols, 3, 2, 5, run.listing, run.rs);
    const Lines& got = run.listing.lines;
    const int pairs[][2] = {{1, 2}, {1, 3}, {1, 4}, {2, 3}, {2, 4}, {3, 4}, {1, 5}};

    std::size_t at = 0;
    double xl = 0, xh = 0, yl = 0, yh = 0;
    for (int p = 0; p < 6; ++p) {
        ASSERT_GE(got.size(), at + 3 + 43);
        EXPECT_EQ(Slice(got, at, 3), Heading(pairs[p][0], pairs[p][1]));
        xl = yl = -0.5;
        xh = yh = 0.5;
        const Lines want = Plot(Axis(rows, cols, pairs[p][0]), Axis(rows, cols, pairs[p][1]), "12312",
                                LabelMode::GivenLabels, xl, xh, yl, yh);
        EXPECT_EQ(Slice(got, at + 3, want.size()), want) << "plot " << p + 1;
        at += 3 + want.size();
    }
    ASSERT_EQ(got.size(), at + 3 + 43);
    EXPECT_EQ(Slice(got, at, 3), Heading(1, 5));
    const Lines last = Slice(got, at + 3, 43);

    double cx = xl, cxh = xh, cy = yl, cyh = yh;  // as the plot of 3 and 4 left them
    EXPECT_EQ(last, Plot(Axis(rows, cols, 1), Axis(rows, cols, 5), "", LabelMode::SequenceLabels, cx, cxh, cy, cyh));
    double rx = -0.5, rxh = 0.5, ry = -0.5, ryh = 0.5;
    EXPECT_NE(last, Plot(Axis(rows, cols, 1), Axis(rows, cols, 5), "", LabelMode::SequenceLabels, rx, rxh, ry, ryh));

    // Column 1 is point 4 and carries the key 4; column 2 (point 5) is out.
    std::string marks;
    for (std::size_t k = 1; k + 2 < last.size(); ++k)
        for (std::size_t c = 9; c <= 77; ++c)
            if (last[k][c] != ' ' && last[k][c] != '\xF9') marks += last[k][c];
    std::sort(marks.begin(), marks.end());
    EXPECT_EQ(marks, "1234");
}

// 36 rows: rows 1 .. 35 together at (0.5, 0.5), row 36 alone at
// (-1, -1), column 1 at (1, 1). Row 36 and column 1 both show the key 1;
// the list gives rows 1 .. 35 with keys 1 .. 9, A .. Z.
TEST(PlotAxisPairs, KeysCycleAfterThirtyFivePoints) {
    PlotJob run;
    std::vector<double> rc(72, 0.5);
    rc[35] = rc[71] = -1.0;
    const Matrix<double> rows = Coordinates(36, 2, rc);
    const Matrix<double> cols = Coordinates(1, 2, {1.0, 1.0});
    DrawJointPlots(rows, cols, 36, 1, 2, run.listing, run.rs);
    const Lines& got = run.listing.lines;
    ASSERT_EQ(got.size(), 3u + 43u + 4u + 1u + 35u);

    double low = -1.0, high = 1.0;
    const AxisScale across = ChooseAxisScale(low, high, 69, true);
    const double xLow = low;
    low = -1.0;
    high = 1.0;
    const AxisScale down = ChooseAxisScale(low, high, 40, false);
    auto mark = [&](double x, double y) {
        const int column = AxisCell(x, xLow, across.cell) + 9;
        const int line = AxisCell(y, low, down.cell) + 3;
        return got[static_cast<std::size_t>(3 + 43 - line)][static_cast<std::size_t>(column)];
    };
    EXPECT_EQ(mark(-1.0, -1.0), '1');
    EXPECT_EQ(mark(1.0, 1.0), '1');
    EXPECT_EQ(mark(0.5, 0.5), '\xFE');

    const std::string keys = "123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    for (int p = 1; p <= 35; ++p) {
        const std::string& line = got[static_cast<std::size_t>(3 + 43 + 5 + p - 1)];
        char want[64];
        std::snprintf(want, sizeof want, "       %4d    0.500   0.500  %c", p, keys[static_cast<std::size_t>(p - 1)]);
        EXPECT_EQ(line, want);
    }
}

TEST(PlotAxisPairs, ZeroCoordinatesSkipEveryPlotWithANotice) {
    const Lines notice = {" NO PLOT. THE RANGE OF THE COORDINATES CANNOT BE SCALED.", ""};
    PlotJob two;
    const Matrix<double> rows2(2, 2), cols2(2, 2);
    DrawJointPlots(rows2, cols2, 2, 2, 2, two.listing, two.rs);
    Lines want = Heading(1, 2);
    want.insert(want.end(), notice.begin(), notice.end());
    EXPECT_EQ(two.listing.lines, want);

    // Axis 5 alone is not 0, but M comes from axes 1 .. 4: seven notices.
    PlotJob five;
    Matrix<double> rows5(2, 5), cols5(2, 5);
    rows5(1, 5) = 0.3;
    DrawJointPlots(rows5, cols5, 2, 2, 5, five.listing, five.rs);
    EXPECT_EQ(five.listing.lines.size(), 7u * 5u);
    EXPECT_EQ(Slice(five.listing.lines, 30, 5), (Lines{Heading(1, 5)[0], Heading(1, 5)[1], Heading(1, 5)[2],
                                                       notice[0], notice[1]}));
    EXPECT_EQ(five.rs.fatal_state, kFatalNone);
}

TEST(DrawJointPlots, PointListStorageFailureIsTheMemoryError) {
    PlotJob run;
    const Matrix<double> rows = Coordinates(2, 2, {0.3, -0.3, 0.1, 0.2});
    const Matrix<double> cols = Coordinates(2, 2, {0.1, -0.1, 0.2, 0.1});
    set_storage_limit(4 * 2 * sizeof(double) - 1);
    DrawJointPlots(rows, cols, 2, 2, 2, run.listing, run.rs);
    set_storage_limit(0);
    EXPECT_TRUE(run.listing.lines.empty());
    EXPECT_EQ(run.rs.fatal_state, kFatal);
    ASSERT_FALSE(run.reports.errors.empty());
    EXPECT_NE(std::find(run.reports.errors.begin(), run.reports.errors.end(),
                        "                 M E M O R Y   E R R O R S"),
              run.reports.errors.end());
}

}  // namespace
}  // namespace marvist
