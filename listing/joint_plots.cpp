#include "listing/joint_plots.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>
#include <stdexcept>

#include "base/row_keys.h"
#include "base/storage.h"
#include "listing/printer_plot.h"

namespace marvist {
namespace {

constexpr int kPlotLines = 43;
constexpr int kPlotColumns = 78;

void WriteHeading(RecordSink& listing, int across, int down) {
    // clang-format off
    write_records(listing, "(/,' COMPONENT LOADINGS OF MODE',I2,' AND MODE',I2,' (JOINT PLOT)',/,' COMPONENT',I3,'  (HOR.) VERSUS COMPONENT',I3,'  (VERT.)')",
                  {1, 2, across, down});
    // clang-format on
}

std::span<const double> Axis(const Matrix<double>& P, int nPoints, int k) {
    return {P.column(k), static_cast<std::size_t>(nPoints)};
}

}  // namespace

void PlotAxisPairs(const Matrix<double>& P, int nPoints, int K, std::string_view labels, RecordSink& listing) {
    if (K <= 0) return;
    if (K == 1) {
        write_records(listing, "(/,' NO PLOT. THE NUMBER OF DIMENSIONS IS ONE.',/)");
        return;
    }

    // M over the first four axes. When it is 0 (or not finite) the plots
    // below find no scale and each writes a one-line notice under its
    // heading instead of a picture.
    const int K4 = std::min(K, 4);
    double M = 0.0;
    for (int k = 1; k <= K4; ++k) {
        for (int p = 1; p <= nPoints; ++p) M = std::max(M, std::fabs(P(p, k)));
    }

    double xLow = -M, xHigh = M, yLow = -M, yHigh = M;
    for (int i = 1; i <= K4 - 1; ++i) {
        for (int j = i + 1; j <= K4; ++j) {
            WriteHeading(listing, i, j);
            xLow = -M;
            xHigh = M;
            yLow = -M;
            yHigh = M;
            DrawPrinterPlot(Axis(P, nPoints, i), Axis(P, nPoints, j), labels, nPoints, LabelMode::GivenLabels, xLow,
                            xHigh, yLow, yHigh, kPlotLines, kPlotColumns, listing);
        }
    }
    // Further axes against axis 1: the ranges go on widening from the plot
    // before; points beyond them are left out.
    for (int k = 5; k <= K; ++k) {
        WriteHeading(listing, 1, k);
        DrawPrinterPlot(Axis(P, nPoints, 1), Axis(P, nPoints, k), labels, nPoints, LabelMode::SequenceLabels, xLow,
                        xHigh, yLow, yHigh, kPlotLines, kPlotColumns, listing);
    }
}

bool DrawJointPlots(const Matrix<double>& row_points, const Matrix<double>& col_points, int I, int J, int K,
                    RecordSink& listing) {
    if (I < 0 || J < 0 || K < 0 || row_points.rows() < I || col_points.rows() < J || (I > 0 && row_points.cols() < K) ||
        (J > 0 && col_points.cols() < K))
        throw std::invalid_argument("DrawJointPlots: coordinates smaller than I, J, K");

    const std::int64_t nPoints = std::int64_t{I} + J;
    Matrix<double> P;
    Vector<char> labels;
    if (nPoints > 0x7fffffff || !obtain(P, nPoints, K) || !obtain(labels, nPoints)) return false;

    for (int k = 1; k <= K; ++k) {
        for (int p = 1; p <= I; ++p) P(p, k) = row_points(p, k);
        for (int q = 1; q <= J; ++q) P(I + q, k) = col_points(q, k);
    }
    for (int p = 1; p <= I; ++p) labels(p) = row_key(p)[0];
    for (int q = 1; q <= J; ++q) labels(I + q) = row_key(q)[0];

    PlotAxisPairs(P, static_cast<int>(nPoints), K, std::string_view(labels.data(), static_cast<std::size_t>(nPoints)),
                  listing);
    return true;
}

}  // namespace marvist
