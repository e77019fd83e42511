#include "analysis/report_progress.h"

#include <initializer_list>
#include <string>
#include <string_view>

#include "analysis/version.h"
#include "base/fixed_text.h"
#include "base/layout.h"

namespace marvist {
namespace {

constexpr std::size_t kLineLength = 256;

// The success line, also written by the driver's last report.
constexpr std::string_view kSuccessfulEnd = " (' Succesful End of Marvist')";

struct ProgressLine {
    ProgressCode code;
    std::string_view layout;
};

constexpr ProgressLine kLines[] = {
    {ProgressCode::ReadingData, "(' Reading Input Data')"},
    {ProgressCode::StartOfAnalysis, "(' Start of Analysis')"},
    {ProgressCode::Nsca, "(' Nonsymmetric Correspondence Analysis')"},
    {ProgressCode::NoNsca, "(' No Nonsymmetric Correspondence Analysis performed')"},
    {ProgressCode::Homogenisation, "(' Homogenisation of Margins')"},
    {ProgressCode::NoHomogenisation, "(' No Homogenisation of Margins performed')"},
    {ProgressCode::Symmetry, "(' Analysis of Symmetry and Skew Symmetry')"},
    {ProgressCode::NoSymmetry, "(' No Analysis of Symmetry and Skew Symmetry performed')"},
    {ProgressCode::SuccessfulEnd, kSuccessfulEnd},
};

// Window lines are written into a 256-character buffer; the window shows the
// text, so the padding blanks are not passed on.
void write_line(ReportSink& sink, std::string_view layout, std::initializer_list<Value> values = {}) {
    const std::string line = write_to_buffer(layout, values, kLineLength);
    sink.write_line(ReportWindow::Progress, trimmed(line));
}

}  // namespace

void report_progress(Reporter& reporter, ProgressCode code) {
    NullReportSink discard;
    ReportSink& sink = reporter.sink ? *reporter.sink : discard;

    if (reporter.progress_window_state == WindowState::Last) {
        sink.progress_reported(code);
        if (code == ProgressCode::SuccessfulEnd) write_line(sink, kSuccessfulEnd);
        sink.end_window(ReportWindow::Progress);
        return;
    }
    if (reporter.progress_window_state == WindowState::First) {
        sink.open_window(ReportWindow::Progress);
        reporter.progress_window_state = WindowState::Mid;
        const LocalTime t = reporter.clock ? reporter.clock() : system_local_time();
        reporter.progress_date = write_to_buffer(
            "(22X,' Date: ',I2.2,'-',I2.2,'-',I4.4,' ; Time: ',I2.2,':',I2.2,':',I2.2)",
            {t.day, t.month, t.year, t.hour, t.minute, t.second}, kLineLength);
    }
    sink.progress_reported(code);

    if (code == ProgressCode::Banner) {
        const std::string version = "       " + std::string(kVersionNotice);
        write_line(sink, "('                                          Marvist   ')");
        write_line(sink, "(A)", {version});
        write_line(sink, "(' ')");
        sink.write_line(ReportWindow::Progress, trimmed(reporter.progress_date));
        write_line(sink, "(' ')");
        write_line(sink, "(' ')");
        return;
    }
    for (const ProgressLine& line : kLines) {
        if (line.code == code) write_line(sink, line.layout);
    }
}

}  // namespace marvist
