#include "support/test_support.h"

#include <fstream>
#include <random>
#include <sstream>

namespace marvist::test {

TempDir::TempDir() {
    std::random_device rd;
    for (;;) {
        auto candidate = std::filesystem::temp_directory_path() / ("marvist-test-" + std::to_string(rd()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void write_file(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::vector<std::string> read_lines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

void CapturingReportSink::open_window(ReportWindow window) {
    (window == ReportWindow::Errors ? error_opens : progress_opens)++;
}

void CapturingReportSink::write_line(ReportWindow window, std::string_view line) {
    (window == ReportWindow::Errors ? errors : progress).emplace_back(line);
}

void CapturingReportSink::end_window(ReportWindow window) {
    (window == ReportWindow::Errors ? error_ends : progress_ends)++;
}

LocalTime fixed_time() { return LocalTime{2026, 12, 6, 20, 8, 3}; }

std::string source_path(const std::string& relative) { return std::string(MARVIST_SOURCE_DIR) + "/" + relative; }

}  // namespace marvist::test
