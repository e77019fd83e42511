// The joint plot of the window written to files and to the clipboard. Each
// file is written under a temporary name and renamed into place when
// complete (QSaveFile). The functions return an error message, or nothing
// on success.
#pragma once

#include <QString>

#include <optional>

#include "biplot/plot_scene.h"

namespace marvist::qt {

// SVG through QSvgGenerator, one user unit to the point.
std::optional<QString> export_plot_svg(const QString& path, const JointPlotScene& scene, const QString& title);

// PNG at `dpi` dots per inch (the resolution is recorded in the file).
std::optional<QString> export_plot_png(const QString& path, const JointPlotScene& scene, int dpi);

// PDF of one page the size of the plot.
std::optional<QString> export_plot_pdf(const QString& path, const JointPlotScene& scene, const QString& title);

// The plot as an image (192 dots per inch) on the clipboard.
void copy_plot_image(const JointPlotScene& scene);

}  // namespace marvist::qt
