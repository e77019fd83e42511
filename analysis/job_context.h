// What a front end lends a job: where its reports go, its clock, the
// folder that relative file names are taken from, and (for tests) how the
// NSCA computes its singular vectors.
#pragma once

#include <functional>
#include <string>

#include "analysis/local_time.h"
#include "analysis/report_sink.h"
#include "nsca/svd_axes.h"

namespace marvist {

struct JobContext {
    ReportSink* reports = nullptr;                         // null: the reports are discarded
    std::function<LocalTime()> clock = system_local_time;  // the listing header and the progress banner
    std::string base_folder;                               // empty: the working folder
    SvdPath svd_path = SvdPath::Fast;                      // the NSCA's singular vectors; Full: tests compare
};

}  // namespace marvist
