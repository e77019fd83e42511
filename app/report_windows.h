// The "Errors and Warnings" and "Progress of Marvist" windows of a job, made
// through the windowing layer on a job's first report.
#pragma once

#include <string_view>

#include "analysis/report_sink.h"
#include "app/session.h"
#include "app/windowing.h"

namespace marvist {

// How each window is made: title, font, colours and placement. Both stand
// below the main window's menu bar and toolbar where their places at the top
// of the screen would cover them.
ui::ScrollWindowSpec error_window_spec(ui::WindowId parent);
ui::ScrollWindowSpec progress_window_spec(ui::WindowId parent);

// The reports of a job in their windows. The window ids are kept in the
// session, so a window still open from an earlier job is written into.
class WindowReportSink : public ReportSink {
public:
    // session: holds the layer and the window ids; it must outlive the sink.
    explicit WindowReportSink(Session& session) : session_(session) {}

    // Creates the window unless it exists, brings it to the front and starts
    // its auto-painting.
    void open_window(ReportWindow window) override;
    // Appends the line, converted from code page 437 to UTF-8.
    void write_line(ReportWindow window, std::string_view line) override;
    // Ends the auto-painting: the window is complete.
    void end_window(ReportWindow window) override;

private:
    ui::WindowId& id(ReportWindow window);

    Session& session_;
};

// Closes the progress, error and output windows, each if it exists, and the
// Save As prompt over the output window; the line and column panes stay only
// while a viewer of File > Open is open.
void close_job_windows(Session& session);

}  // namespace marvist
