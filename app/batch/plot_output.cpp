#include "app/batch/plot_output.h"

#include <algorithm>
#include <filesystem>

#include "analysis/biplot_solution.h"
#include "base/files_into_place.h"
#include "svg/joint_plot_files.h"

namespace marvist {
namespace {

void say(std::FILE* err, const std::string& message) { std::fprintf(err, "marvist-run: %s\n", message.c_str()); }

std::string axes_text(int n) { return std::to_string(n) + (n == 1 ? " axis" : " axes"); }

}  // namespace

PlotOutcome write_plot_files(const JobResults& results, const PlotRequest& request, std::FILE* err) {
    const std::optional<BiplotSolution> solution = biplot_solution(results);
    const int n_axes = solution ? static_cast<int>(solution->inertia_shares.size()) : 0;
    if (!solution || n_axes < 2) {
        say(err, solution ? "no joint plots written: the NSCA solution has " + axes_text(n_axes)
                          : std::string("no joint plots written: the job has no NSCA solution"));
        return PlotOutcome::NoSolution;
    }
    std::vector<AxisPair> pairs;
    if (request.pairs.empty()) pairs = listing_axis_pairs(n_axes);
    for (const AxisPair& p : request.pairs) {
        if (p.horizontal <= n_axes && p.vertical <= n_axes) {
            if (std::find(pairs.begin(), pairs.end(), p) == pairs.end()) pairs.push_back(p);
        } else {
            say(err, "no joint plot of axes " + std::to_string(p.horizontal) + " and " + std::to_string(p.vertical) +
                         ": the NSCA solution has " + axes_text(n_axes));
        }
    }

    const std::filesystem::path folder(request.folder);
    if (auto error = create_folder(folder)) {
        say(err, "cannot create the folder " + error->path + ": " + error->reason);
        return PlotOutcome::Failed;
    }
    std::vector<FileToWrite> files;
    for (PlotPicture& picture : joint_plot_pictures(*solution, pairs))
        files.push_back({folder / picture.file_name, std::move(picture.svg)});
    if (auto error = write_files_into_place(files)) {
        say(err, "cannot write " + error->path + ": " + error->reason);
        return PlotOutcome::Failed;
    }
    return PlotOutcome::Written;
}

}  // namespace marvist
