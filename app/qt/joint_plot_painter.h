// Draws a laid-out joint plot with a QPainter: on screen, into images, SVG
// and PDF files alike, so that every picture of the window is the same.
#pragma once

#include <QImage>
#include <QPainter>

#include "biplot/plot_scene.h"

namespace marvist::qt {

// Paints `scene` in page units (points, origin top left): the caller's
// transform maps them to the device.
void paint_joint_plot(QPainter& painter, const JointPlotScene& scene);

// The plot as an image at `dpi` dots per inch, on white.
QImage joint_plot_image(const JointPlotScene& scene, double dpi);

}  // namespace marvist::qt
