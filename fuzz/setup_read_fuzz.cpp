// The set-up file reader and the job form's read-back of what it read.
#include <cstdlib>
#include <string>

#include "app/job_form.h"
#include "app/setup_file.h"
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
    // What was read can be written again.
    marvist::CapturedRecords written;
    marvist::write_setup_records(written, job);
    if (written.lines.size() != (job.has_labels > 0 ? 10u : 9u)) std::abort();
    return 0;
}
