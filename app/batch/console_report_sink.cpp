#include "app/batch/console_report_sink.h"

#include "base/cp437.h"

namespace marvist {

std::string console_report_line(ReportWindow window, std::string_view line) {
    std::string text = window == ReportWindow::Errors ? "E|" : "P|";
    text += cp437_to_utf8(line);
    return text;
}

void ConsoleReportSink::write_line(ReportWindow window, std::string_view line) {
    std::string text = console_report_line(window, line);
    text += '\n';
    std::fwrite(text.data(), 1, text.size(), stream_);
}

void ConsoleReportSink::end_window(ReportWindow) { std::fflush(stream_); }

}  // namespace marvist
