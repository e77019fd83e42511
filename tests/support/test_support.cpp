#include "support/test_support.h"

#include <fstream>
#include <random>
#include <sstream>

#include "base/cp437.h"
#include "base/fixed_text.h"
#include "base/storage.h"
#include "listing/listing_writer.h"

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

std::set<std::string> folder_files(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

void CapturingReportSink::open_window(ReportWindow window) {
    (window == ReportWindow::Errors ? error_opens : progress_opens)++;
}

void CapturingReportSink::error_reported(ErrorCode code, Severity severity) {
    codes.push_back(code);
    severities.push_back(severity);
}

void CapturingReportSink::progress_reported(ProgressCode code) { progress_codes.push_back(code); }

void CapturingReportSink::write_line(ReportWindow window, std::string_view line) {
    (window == ReportWindow::Errors ? errors : progress).emplace_back(line);
}

void CapturingReportSink::end_window(ReportWindow window) {
    (window == ReportWindow::Errors ? error_ends : progress_ends)++;
}

LocalTime fixed_time() { return LocalTime{2026, 12, 6, 20, 8, 3}; }

std::string source_path(const std::string& relative) { return std::string(MARVIST_SOURCE_DIR) + "/" + relative; }

JobFolder::JobFolder() : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir.path());
    context.reports = &sink;
    context.clock = fixed_time;
}

JobResults JobFolder::run(JobRecord& job) {
    ListingWriter writer(&console);
    return run_job(job, context, writer);
}

JobFolder::~JobFolder() {
    std::filesystem::current_path(previous_);
    set_storage_limit(0);
}

std::vector<std::string> JobFolder::listing(const std::string& name) const {
    return read_lines(dir.file(name + ".out"));
}

JobRecord job_record(const std::string& name, const std::string& title, int rows, const std::string& row_var,
                     int cols, const std::string& col_var, const std::string& format) {
    JobRecord job;
    job.title = fixed(title, 70);
    job.n_rows = rows;
    job.n_cols = cols;
    job.row_variable = fixed(row_var, 12);
    job.col_variable = fixed(col_var, 12);
    job.output_file = fixed(name + ".out", 80);
    job.data_file = fixed(name + ".dat", 80);
    job.label_file = fixed(name + ".lab", 80);
    job.data_format = fixed(format, 70);
    return job;
}

Matrix<std::int32_t> counts_of(int I, int J, const std::vector<std::int32_t>& by_rows) {
    Matrix<std::int32_t> counts(I, J);
    for (int i = 1; i <= I; ++i)
        for (int j = 1; j <= J; ++j) counts(i, j) = by_rows.at(static_cast<std::size_t>((i - 1) * J + j - 1));
    return counts;
}

void run_in_memory(MemoryJob& run, const TableInput& table) {
    JobContext context;
    context.reports = &run.reports;
    context.clock = fixed_time;
    ListingWriter writer(&run.console);
    run.results = run_job(run.job, table, context, writer, run.listing);
}

bool copy_job_inputs(const std::string& golden_folder, const std::string& name) {
    bool labels = false;
    for (const std::string ext : {".dat", ".lab"}) {
        const std::string from = source_path(golden_folder + "/" + name + ext);
        if (!std::filesystem::exists(from)) continue;
        std::filesystem::copy_file(from, name + ext, std::filesystem::copy_options::overwrite_existing);
        labels = labels || ext == ".lab";
    }
    return labels;
}

std::string golden_difference(const std::string& golden_folder, const std::string& name) {
    const std::string want_path = source_path(golden_folder + "/" + name + ".out");
    if (!std::filesystem::exists(want_path)) return want_path + ": no such golden listing";
    const std::string got = read_file(name + ".out");
    if (got == read_file(want_path)) return "";
    const std::string kept = std::string(MARVIST_BINARY_DIR) + "/tests/" + name + ".actual.out";
    write_file(kept, got);
    const std::vector<std::string> want = read_lines(want_path), have = read_lines(name + ".out");
    std::size_t k = 0;
    while (k < want.size() && k < have.size() && want[k] == have[k]) ++k;
    auto line = [k](const std::vector<std::string>& v) { return k < v.size() ? cp437_to_utf8(v[k]) : "<none>"; };
    return name + ".out line " + std::to_string(k + 1) + (k < want.size() || k < have.size() ? "" : " (line ends)") +
           "\n  written: " + line(have) + "\n  golden:  " + line(want) + "\n  listing kept as " + kept;
}

}  // namespace marvist::test
