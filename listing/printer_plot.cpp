#include "listing/printer_plot.h"

#include <cstdint>
#include <stdexcept>
#include <string>

#include "base/matrix.h"
#include "base/program_stop.h"
#include "base/row_keys.h"
#include "base/storage.h"
#include "plot/axis_scale.h"

namespace marvist {
namespace {

constexpr const char* kNoPlotStorage = "NOT ENOUGH STORAGE FOR PLOT; ABORTING...";

// The cells of a plot, bottom line first: line L (1 = bottom), column C
// (1 = leftmost) is flat position (L - 1) * nColumns + C.
struct Raster {
    Vector<char> cells;
    int nLines = 0;
    int nColumns = 0;

    std::int64_t flat(int line, int column) const { return std::int64_t{line - 1} * nColumns + column; }
    // Writes at a flat position; positions outside the raster are dropped.
    void put(std::int64_t position, char c) {
        if (position >= 1 && position <= cells.size()) cells(position) = c;
    }
    void put(int line, int column, char c) { put(flat(line, column), c); }
    char at(int line, int column) const { return cells(flat(line, column)); }
};

template <class T>
void ObtainOrStop(Vector<T>& v, std::int64_t n) {
    if (!obtain(v, n)) throw ProgramStop(kNoPlotStorage);
}

void DrawFrame(Raster& r) {
    for (std::int64_t k = 1; k <= r.cells.size(); ++k) r.cells(k) = kPlotBlank;
    for (int c = 9; c <= r.nColumns - 1; ++c) {
        r.put(2, c, kPlotHorizontal);
        r.put(r.nLines, c, kPlotHorizontal);
    }
    for (int l = 3; l <= r.nLines - 1; ++l) {
        r.put(l, 8, kPlotVertical);
        r.put(l, r.nColumns, kPlotVertical);
    }
    r.put(r.nLines, 8, kPlotTopLeft);
    r.put(r.nLines, r.nColumns, kPlotTopRight);
    r.put(2, 8, kPlotBottomLeft);
    r.put(2, r.nColumns, kPlotBottomRight);
}

// The first tick: start moved down by whole steps until it lies within one
// step above low.
double FirstTick(const AxisScale& scale, double low) {
    double t = scale.start;
    while (scale.step < t - low) t = t - scale.step;
    return t;
}

// Tick marks on the top and bottom edges and tick values on line 1. A value
// is placed by flat position, so one that runs past the last column goes on
// at the start of the line above.
void DrawHorizontalTicks(Raster& r, const AxisScale& scale, double low, double high) {
    const int m = scale.decimals > 0 ? scale.labelWidth : scale.labelWidth - 1;
    for (double t = FirstTick(scale, low); t < high; t = t + scale.step) {
        const int column = AxisCell(t, low, scale.cell) + 9;
        if (column >= 9 && column <= r.nColumns - 1) {
            r.put(2, column, kPlotTickAcross);
            r.put(r.nLines, column, kPlotTickAcross);
        }
        const std::string value = FormatTickValue(t, scale.labelWidth, scale.decimals);
        for (int k = 1; k <= m; ++k) {
            r.put(std::int64_t{column} + scale.decimals - m + k, value[static_cast<std::size_t>(k - 1)]);
        }
    }
}

// Tick values in columns 1 to 7 and tick marks on the left and right edges.
// Without decimals the value drops its point and ends in column 7.
void DrawVerticalTicks(Raster& r, const AxisScale& scale, double low, double high) {
    for (double t = FirstTick(scale, low); t < high; t = t + scale.step) {
        const int line = AxisCell(t, low, scale.cell) + 3;
        if (line < 3 || line > r.nLines - 1) continue;
        const std::string value = FormatTickValue(t, 7, scale.decimals);
        if (scale.decimals > 0) {
            for (int c = 1; c <= 7; ++c) r.put(line, c, value[static_cast<std::size_t>(c - 1)]);
        } else {
            for (int c = 2; c <= 7; ++c) r.put(line, c, value[static_cast<std::size_t>(c - 2)]);
        }
        r.put(line, 8, kPlotTickDown);
        r.put(line, r.nColumns, kPlotTickDown);
    }
}

// Dotted lines through 0 of each axis whose drawn range holds 0 inside.
void DrawOriginLines(Raster& r, const AxisScale& across, double xLow, double xHigh, const AxisScale& down, double yLow,
                     double yHigh) {
    if (xLow < 0.0 && 0.0 < xHigh) {
        const int column = AxisCell(0.0, xLow, across.cell) + 9;
        if (column >= 1 && column <= r.nColumns) {
            for (int l = 3; l <= r.nLines - 1; ++l) r.put(l, column, kPlotOrigin);
        }
    }
    if (yLow < 0.0 && 0.0 < yHigh) {
        const int line = AxisCell(0.0, yLow, down.cell) + 3;
        if (line >= 1 && line <= r.nLines) {
            for (int c = 10; c <= r.nColumns - 1; c += 2) r.put(line, c, kPlotOrigin);
        }
    }
}

void WriteRaster(const Raster& r, RecordSink& listing) {
    std::string record;
    for (int l = r.nLines; l >= 1; --l) {
        record.assign(1, ' ');
        for (int c = 1; c <= r.nColumns; ++c) record.push_back(r.at(l, c));
        listing.put_record(record, true);
    }
}

// Groups of points that share a cell, each group after an empty record,
// lowest number first. Cells are compared whether or not they lie inside
// the frame.
void WriteCoincidenceList(std::span<const double> xs, std::span<const double> ys, std::string_view marks,
                          const Vector<int>& columns, const Vector<int>& lines, int nPoints, RecordSink& listing) {
    Vector<char> done;
    ObtainOrStop(done, nPoints);

    listing.put_record("", true);
    listing.put_record(" " + std::string("        MULTIPLE POINTS IN THE PLOT"), true);
    listing.put_record("", true);
    listing.put_record(" " + std::string("        NO.    X       Y     LABEL"), true);

    auto write_point = [&](int k) {
        const std::string_view mark = marks.substr(static_cast<std::size_t>(k - 1), 1);
        write_records(listing, "(7X,I4,2X,F7.3,1X,F7.3,:,2X,A1)",
                      {k, xs[static_cast<std::size_t>(k - 1)], ys[static_cast<std::size_t>(k - 1)], mark});
    };
    for (int i = 1; i <= nPoints - 1; ++i) {
        if (done(i)) continue;
        for (int j = i + 1; j <= nPoints; ++j) {
            if (done(j)) continue;
            if (columns(i) != columns(j) || lines(i) != lines(j)) continue;
            if (!done(i)) {
                done(i) = 1;
                listing.put_record("", true);
                write_point(i);
            }
            done(j) = 1;
            write_point(j);
        }
    }
}

}  // namespace

void DrawPrinterPlot(std::span<const double> xs, std::span<const double> ys, std::string_view labels, int nPoints,
                     LabelMode labelMode, double& xLow, double& xHigh, double& yLow, double& yHigh, int nLines,
                     int nColumns, RecordSink& listing) {
    if (nPoints < 0 || xs.size() < static_cast<std::size_t>(nPoints) || ys.size() < static_cast<std::size_t>(nPoints))
        throw std::invalid_argument("DrawPrinterPlot: fewer coordinates than points");
    if (labelMode == LabelMode::GivenLabels && labels.size() < static_cast<std::size_t>(nPoints))
        throw std::invalid_argument("DrawPrinterPlot: fewer labels than points");
    if (nLines < 4 || nColumns < 10) throw std::invalid_argument("DrawPrinterPlot: raster too small");

    // A range of zero width (all coordinates 0) or one that is not finite
    // has no scale: the plot is skipped with a notice instead.
    if (!ScalableRange(xLow, xHigh) || !ScalableRange(yLow, yHigh)) {
        write_records(listing, "(' NO PLOT. THE RANGE OF THE COORDINATES CANNOT BE SCALED.',/)");
        return;
    }

    Raster r;
    r.nLines = nLines;
    r.nColumns = nColumns;
    ObtainOrStop(r.cells, std::int64_t{nLines} * nColumns);
    DrawFrame(r);

    const AxisScale across = ChooseAxisScale(xLow, xHigh, nColumns - 9, TickValues::SideBySide);
    const AxisScale down = ChooseAxisScale(yLow, yHigh, nLines - 3, TickValues::Stacked);
    DrawHorizontalTicks(r, across, xLow, xHigh);
    DrawVerticalTicks(r, down, yLow, yHigh);
    DrawOriginLines(r, across, xLow, xHigh, down, yLow, yHigh);

    // The mark of every point, and its cell whether inside the frame or not.
    Vector<char> marks;
    Vector<int> columns;
    Vector<int> lines;
    ObtainOrStop(marks, nPoints);
    ObtainOrStop(columns, nPoints);
    ObtainOrStop(lines, nPoints);
    bool coincident = false;
    for (int i = 1; i <= nPoints; ++i) {
        const std::size_t k = static_cast<std::size_t>(i - 1);
        marks(i) = labelMode == LabelMode::GivenLabels ? labels[k] : row_key(i)[0];
        columns(i) = AxisCell(xs[k], xLow, across.cell) + 9;
        lines(i) = AxisCell(ys[k], yLow, down.cell) + 3;
        const int c = columns(i);
        const int l = lines(i);
        if (c < 9 || c > nColumns - 1 || l < 3 || l > nLines - 1) continue;
        const char held = r.at(l, c);
        if (held == kPlotBlank || held == kPlotOrigin) {
            r.put(l, c, marks(i));
        } else {
            r.put(l, c, kPlotShared);
            coincident = true;
        }
    }

    WriteRaster(r, listing);
    if (coincident) {
        WriteCoincidenceList(xs, ys, std::string_view(marks.data(), static_cast<std::size_t>(nPoints)), columns, lines,
                             nPoints, listing);
    }
}

}  // namespace marvist
