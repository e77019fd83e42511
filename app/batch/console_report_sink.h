// The report windows of a job as lines on a console stream (the batch
// runner's standard error): each error-window line is written as "E|" and
// each progress-window line as "P|" followed by the line in UTF-8.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "analysis/report_sink.h"

namespace marvist {

// The console line of one window line: its prefix, then the code-page-437
// line converted to UTF-8 (no line end).
//   window: the window the line belongs to.
//   line:   the window line, code-page-437 bytes.
std::string console_report_line(ReportWindow window, std::string_view line);

class ConsoleReportSink : public ReportSink {
public:
    // stream: where the lines go; it must outlive the sink.
    explicit ConsoleReportSink(std::FILE* stream) : stream_(stream) {}

    void open_window(ReportWindow) override {}
    void write_line(ReportWindow window, std::string_view line) override;
    // The window is complete: its lines are flushed to the stream.
    void end_window(ReportWindow) override;

private:
    std::FILE* stream_;
};

}  // namespace marvist
