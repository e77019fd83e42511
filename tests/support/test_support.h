// Helpers shared by the test programs.
#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "analysis/driver.h"
#include "analysis/job_context.h"
#include "analysis/job_record.h"
#include "analysis/job_results.h"
#include "analysis/report_sink.h"
#include "base/record_io.h"

namespace marvist::test {

// True in a build with AddressSanitizer, which reserves terabytes of address
// space: a limit on the address space cannot be set there.
constexpr bool under_address_sanitizer() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#else
    return false;
#endif
#else
    return false;
#endif
}

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
// The names of the entries of a folder.
std::set<std::string> folder_files(const std::filesystem::path& folder);

// Keeps the lines of both report windows, the codes reported and the calls
// made on them.
class CapturingReportSink : public ReportSink {
public:
    void open_window(ReportWindow window) override;
    void error_reported(ErrorCode code, Severity severity) override;
    void progress_reported(ProgressCode code) override;
    void write_line(ReportWindow window, std::string_view line) override;
    void end_window(ReportWindow window) override;

    std::vector<std::string> errors;    // lines of the error window
    std::vector<std::string> progress;  // lines of the progress window
    std::vector<ErrorCode> codes;       // the error reports, in order
    std::vector<Severity> severities;   // their severities
    std::vector<ProgressCode> progress_codes;
    int error_opens = 0, error_ends = 0, progress_opens = 0, progress_ends = 0;
};

// 6 December 2026, 20:08:03: the clock of every golden listing.
LocalTime fixed_time();

// Path of a file in the source tree (tests/..., examples/...).
std::string source_path(const std::string& relative);

// Whole jobs, run in a fresh folder with relative file names as the listing
// echoes them, the reports captured and the clock fixed. Test fixtures
// derive from it beside ::testing::Test. On leaving, the process returns to
// its previous folder and the storage limit is restored.
class JobFolder {
public:
    JobFolder();
    ~JobFolder();
    JobFolder(const JobFolder&) = delete;
    JobFolder& operator=(const JobFolder&) = delete;

    // Runs job on its files with the listing writer of the program; the
    // copies of result blocks go to console.
    JobResults run(JobRecord& job);

    // The lines of the listing NAME.out written in the folder.
    std::vector<std::string> listing(const std::string& name) const;

    TempDir dir;
    CapturingReportSink sink;
    JobContext context;       // reports go to sink, the clock is fixed_time
    CapturedRecords console;  // the standard output of the jobs run

private:
    std::filesystem::path previous_;
};

// A job on NAME.dat, with listing NAME.out and label file NAME.lab; rows
// dependent, no analysis requested, no labels.
//   rows, cols:        size of the table as it stands in the data file
//   row_var, col_var:  variable names
//   format:            data format, "*" for free format
JobRecord job_record(const std::string& name, const std::string& title, int rows, const std::string& row_var,
                     int cols, const std::string& col_var, const std::string& format = "*");

// An I x J table of counts given row by row.
Matrix<std::int32_t> counts_of(int I, int J, const std::vector<std::int32_t>& by_rows);

// A job run on a table in memory with the listing writer of the program.
struct MemoryJob {
    JobRecord job;                // as run_job leaves it
    JobResults results;
    CapturedRecords listing;      // the listing, one record per line
    CapturedRecords console;      // the copies of result blocks
    CapturingReportSink reports;  // both report windows
};

// Runs job (its data file only echoed) on table, with the clock fixed.
void run_in_memory(MemoryJob& run, const TableInput& table);

// Copies NAME.dat and NAME.lab, where they exist, from golden_folder (in the
// source tree) into the working folder. True when a label file was copied.
bool copy_job_inputs(const std::string& golden_folder, const std::string& name);

// Empty when NAME.out in the working folder equals golden_folder/NAME.out
// byte for byte; otherwise the first differing line of each in UTF-8, and the
// listing written is kept as <build>/tests/NAME.actual.out.
std::string golden_difference(const std::string& golden_folder, const std::string& name);

}  // namespace marvist::test
