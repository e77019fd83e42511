// The set-up file reader and the job form's read-back of what it read.
#include <cstdlib>
#include <string>

#include "app/batch/job_form.h"
#include "app/batch/setup_file.h"
#include "base/record_io.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    marvist::TextSource records(std::string_view(reinterpret_cast<const char*>(data), size));
    marvist::JobRecord job;
    if (!marvist::read_setup_records(records, job).ok) return 0;
    if (marvist::read_back_job_form(job).failed) return 0;
    if (job.title.size() != 70 || job.row_variable.size() != 12 || job.col_variable.size() != 12 ||
        job.job_name.size() != 80 || job.data_file.size() != 80 || job.label_file.size() != 80 ||
        job.data_format.size() != 70 || job.output_file.size() != 80 || job.n_supp_text.size() != 10) {
        std::abort();
    }
    // What was read can be written again, and from the first save on the
    // file stays the same however often it is read back and saved.
    marvist::CapturedRecords written;
    marvist::write_setup_records(written, job);
    if (written.lines.size() != (job.has_labels > 0 ? 10u : 9u)) std::abort();
    // A line that ends in a carriage return would read back as a CR LF line
    // end: such a field (only a binary file gives one) cannot come back.
    for (const std::string& line : written.lines) {
        if (!line.empty() && line.back() == '\r') return 0;
    }
    std::string saved[3];
    for (std::string& text : saved) {
        for (const std::string& line : written.lines) text += line + "\n";
        marvist::TextSource again(text);
        marvist::JobRecord read;
        if (!marvist::read_setup_records(again, read).ok || marvist::read_back_job_form(read).failed) std::abort();
        written = marvist::CapturedRecords{};
        marvist::write_setup_records(written, read);
    }
    if (saved[1] != saved[0] || saved[2] != saved[0]) std::abort();
    return 0;
}
