// The runner's joint plots: the SVG files of a finished job's NSCA solution
// written into a folder.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "analysis/job_results.h"
#include "biplot/axis_pair.h"

namespace marvist {

struct PlotRequest {
    std::string folder;            // where the files go (created if absent); empty: no plots
    std::vector<AxisPair> pairs;   // the pairs asked for; empty: those of the listing's joint plots
};

// What writing the plots came to.
enum class PlotOutcome {
    Written,      // every file asked for that the solution allows was written
    NoSolution,   // no NSCA solution of at least two axes: nothing written
    Failed,       // the folder or a file could not be written: nothing written under a final name
};

// Writes "joint-<i>-<j>.svg" for each pair into request.folder, every file
// to a temporary name first and all renamed into place together. Messages
// go to err as "marvist-run: ...": no solution of two axes, a pair beyond
// the solution's axes (left out), a folder or file that cannot be written.
PlotOutcome write_plot_files(const JobResults& results, const PlotRequest& request, std::FILE* err);

}  // namespace marvist
