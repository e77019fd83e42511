// Helpers shared by the test programs.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "analysis/report_sink.h"
#include "analysis/run_state.h"

namespace marvist::test {

// A fresh empty folder under the system's temporary folder, removed when
// the object goes out of scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

std::string read_file(const std::string& path);
void write_file(const std::string& path, const std::string& bytes);
// The file's lines without their line ends.
std::vector<std::string> read_lines(const std::string& path);

// Keeps the lines of both report windows and the calls made on them.
class CapturingReportSink : public ReportSink {
public:
    void open_window(ReportWindow window) override;
    void write_line(ReportWindow window, std::string_view line) override;
    void end_window(ReportWindow window) override;

    std::vector<std::string> errors;    // lines of the error window
    std::vector<std::string> progress;  // lines of the progress window
    int error_opens = 0, error_ends = 0, progress_opens = 0, progress_ends = 0;
};

// 6 December 2026, 20:08:03: the clock of every golden listing.
LocalTime fixed_time();

// Path of a file in the source tree (tests/..., examples/...).
std::string source_path(const std::string& relative);

}  // namespace marvist::test
