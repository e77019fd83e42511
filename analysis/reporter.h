// The state of a job's two report windows between reports.
#pragma once

#include <functional>
#include <string>

#include "analysis/local_time.h"
#include "analysis/report_sink.h"

namespace marvist {

// Call state of a reporter within one job.
enum class WindowState { First, Mid, Last };  // "1st", "mid", "lst"

struct Reporter {
    ReportSink* sink = nullptr;                            // null: the reports are discarded
    std::function<LocalTime()> clock = system_local_time;  // read on the first progress report
    WindowState error_window_state = WindowState::First;
    WindowState progress_window_state = WindowState::First;
    std::string progress_date;  // date-and-time line formed on a job's first progress report
};

}  // namespace marvist
