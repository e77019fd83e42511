// The joint plot as an SVG 1.1 document: self-contained (no external
// references, no scripts), the generic sans-serif font family, one user
// unit to the point so that every size in the picture is in points. The
// same scene gives the same bytes.
#pragma once

#include <string>

#include "biplot/joint_plot.h"
#include "biplot/plot_scene.h"

namespace marvist {

// The document for `scene`, laid out from `plot` (which gives the points'
// tooltips: name, coordinates and contributions).
std::string joint_plot_svg(const JointPlot& plot, const JointPlotScene& scene);

}  // namespace marvist
