#include "svg/joint_plot_files.h"

#include "biplot/joint_plot.h"
#include "biplot/plot_scene.h"
#include "svg/svg_writer.h"

namespace marvist {

std::string joint_plot_file_name(AxisPair axes) {
    std::string name("joint-");
    name.append(std::to_string(axes.horizontal)).append("-").append(std::to_string(axes.vertical)).append(".svg");
    return name;
}

std::vector<PlotPicture> joint_plot_pictures(const BiplotSolution& solution, std::span<const AxisPair> pairs) {
    std::vector<PlotPicture> pictures;
    for (const AxisPair& axes : pairs) {
        const JointPlot plot = build_joint_plot(solution, axes, {});
        pictures.push_back({axes, joint_plot_file_name(axes), joint_plot_svg(plot, layout_joint_plot(plot, {}))});
    }
    return pictures;
}

}  // namespace marvist
