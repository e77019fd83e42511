// A whole job: a set-up file, the data file and the label file it names,
// separated in the input by lines holding only "%%". Everything is written
// to, and run in, a private folder that is emptied after each execution.
// Tables are kept small so that one execution stays well under a second.
#include <algorithm>
#include <cstdint>
#include <string>

#include "analysis/driver.h"
#include "app/batch/job_form.h"
#include "app/batch/setup_file.h"
#include "base/fixed_text.h"
#include "base/program_stop.h"
#include "fuzz/fuzz_support.h"
#include "listing/listing_writer.h"

namespace {

// A plain name inside the folder: no folder part, nothing to climb out with.
bool plain_name(std::string_view field) {
    return marvist::trimmed(field).find('/') == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const marvist::fuzz::PrivateFolder folder;
    const marvist::fuzz::PrivateFolder::Visit visit(folder);

    const auto parts = marvist::fuzz::split_parts(marvist::fuzz::text_of(data, size), 3);
    marvist::JobRecord job;
    if (!marvist::read_setup_file(folder.write("job.set", parts[0]), job).ok ||
        marvist::read_back_job_form(job).failed) {
        return 0;
    }
    const std::int64_t rows = job.n_rows, cols = job.n_cols;
    const bool small = rows <= 40 && cols <= 40 && job.n_supp <= 40;
    // Sizes no machine can hold are refused before anything is allocated.
    const bool absurd = std::max<std::int64_t>(rows, 1) * std::max<std::int64_t>(cols, 1) >= 100'000'000'000 &&
                        job.n_supp <= 40;
    if (!(small || absurd) || !plain_name(job.output_file) || !plain_name(job.data_file) ||
        !plain_name(job.label_file)) {
        return -1;
    }
    const std::string data_name(marvist::trimmed(job.data_file));
    const std::string label_name(marvist::trimmed(job.label_file));
    if (!data_name.empty()) folder.write(data_name, parts[1]);
    if (!label_name.empty() && job.has_labels > 0) folder.write(label_name, parts[2]);

    marvist::JobContext context;  // no report sink: the reports are discarded
    marvist::ListingWriter writer;
    try {
        marvist::run_job(job, context, writer);
    } catch (const marvist::ProgramStop&) {
        // A printer plot stopped the program; its files were closed on the way out.
    }
    return 0;
}
