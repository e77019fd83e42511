// Process-wide state of a running job, shared by the driver, the input files,
// the reporters and the analyses.
#pragma once

#include <functional>
#include <string>

#include "analysis/job_record.h"
#include "analysis/report_sink.h"
#include "base/layout.h"

namespace marvist {

// Call state of the error and progress reporters within one job.
enum class WindowState { First, Mid, Last };  // "1st", "mid", "lst"

inline constexpr int kFatalNone = 0;
inline constexpr int kFatalSkipNsca = 1;  // tau is 0: NSCA is skipped
inline constexpr int kFatal = 3;

// Local date and time read from the system clock.
struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
LocalTime system_local_time();

struct RunState {
    // Job fields the analyses read and change (the driver copies them from
    // the job record at the start and back at the end).
    int n_axes = 0;
    std::string row_variable = std::string(kVariableNameLength, ' ');
    std::string col_variable = std::string(kVariableNameLength, ' ');

    int fatal_state = kFatalNone;
    WindowState error_window_state = WindowState::First;
    WindowState progress_window_state = WindowState::First;
    std::string progress_date;  // date-and-time line formed on a job's first progress report

    ReportSink* reports = nullptr;          // error and progress windows
    RecordSink* standard_output = nullptr;  // copies of result blocks; null: discarded
    std::function<LocalTime()> clock = system_local_time;
};

}  // namespace marvist
