// Where the reports of a job go: the "Errors and Warnings" and "Progress of
// Marvist" windows of the desktop program, the standard error of the batch
// runner, or a test's capture. Lines are code-page-437 bytes.
#pragma once

#include <string_view>

namespace marvist {

enum class ReportWindow { Errors, Progress };

class ReportSink {
public:
    virtual ~ReportSink() = default;
    // First report of a job: create the window unless it exists, bring it to
    // the front and start collecting lines.
    virtual void open_window(ReportWindow window) = 0;
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
