// marvist-run --import: a CSV table made into a job, which then runs.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "app/batch/batch_run.h"
#include "import/import_job.h"
#include "import/table_options.h"

namespace marvist {

struct ImportArguments {
    std::string csv_file;
    TableReadOptions read;
    ImportJobSettings job;
    bool run = true;     // false: --no-run
    bool force = false;
    BatchOptions batch;  // --show and the output options (plots, export), for the job's run
};

// True when the command line asks for an import: an --import before any
// "--", and no --help (which prints the usage instead).
bool asks_for_import(int argc, char** argv);

// The arguments of an import, or nothing when they are wrong (the reason is
// written to err as "marvist-run: ...").
std::optional<ImportArguments> parse_import_arguments(int argc, char** argv, std::FILE* err);

// Imports the table and, unless told not to, runs its job as marvist-run
// NAME.set would. Returns the runner's exit status: 2 when the import
// writes nothing (bad input, job files in the way, files not written),
// else the status of the job.
int run_import(const ImportArguments& args, std::FILE* out, std::FILE* err);

}  // namespace marvist
