// Where the reports of a job go: the "Errors and Warnings" and "Progress of
// Marvist" windows of the desktop program, the standard error of the batch
// runner, or a test's capture. Each report comes with its code (and, for an
// error, its severity) before its lines; lines are code-page-437 bytes.
#pragma once

#include <string_view>

#include "base/diagnostics.h"

namespace marvist {

enum class ReportWindow { Errors, Progress };

// The stages of a job as the progress window shows them.
enum class ProgressCode : int {
    None = 0,                 // the driver's closing call after a fatal end: no line
    Banner = 1050,            // first report of a job
    ReadingData = 1100,       // the labels are read, the counts come next
    StartOfAnalysis = 1200,   // the table is read
    Nsca = 1300,              // NSCA starts
    NoNsca = 1310,            // NSCA not requested or skipped
    Homogenisation = 1320,    // homogenisation starts
    NoHomogenisation = 1330,  // homogenisation not requested
    Symmetry = 1350,          // symmetry analysis starts
    NoSymmetry = 1360,        // symmetry analysis not requested
    SuccessfulEnd = 9000,     // the job ended without a fatal error
};

class ReportSink {
public:
    virtual ~ReportSink() = default;
    // First report of a job: create the window unless it exists, bring it to
    // the front and start collecting lines.
    virtual void open_window(ReportWindow window) = 0;
    // An error report begins; its lines follow. Windows that show lines only
    // need not look at it.
    virtual void error_reported(ErrorCode /*code*/, Severity /*severity*/) {}
    // A progress report begins; its lines (if any) follow.
    virtual void progress_reported(ProgressCode /*code*/) {}
    // One line appended to the window.
    virtual void write_line(ReportWindow window, std::string_view line) = 0;
    // The job's last report: the window is complete.
    virtual void end_window(ReportWindow window) = 0;
};

// Discards everything (a job run without any window).
class NullReportSink : public ReportSink {
public:
    void open_window(ReportWindow) override {}
    void write_line(ReportWindow, std::string_view) override {}
    void end_window(ReportWindow) override {}
};

}  // namespace marvist
