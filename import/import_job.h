// A CSV table imported into an ordinary job: the table is read in full
// first, and only when it is good are NAME.dat, NAME.lab, NAME.names and
// NAME.set written beside the CSV file, so the desktop program and the
// runner run, save and rerun it like any other job.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "analysis/job_record.h"
#include "import/table_options.h"
#include "import/table_reader.h"

namespace marvist {

// The analyses of the job an import writes: NSCA always.
struct ImportJobSettings {
    std::string job_name;            // empty: the CSV file's name without its extension
    bool columns_dependent = false;
    int axes = 2;                    // NSCA axes, 1 or more
    bool homogenise = false;
    bool symmetry = false;           // asked only of a square table
};

enum class ImportStatus {
    Done,
    BadInput,     // the CSV file cannot be read as a table (nothing written)
    BadSettings,  // the job name or settings cannot make a job (nothing written)
    FilesExist,   // job files of that name exist and may not be replaced
    WriteFailed,  // a job file could not be written (none is left behind)
};

struct ImportOutcome {
    ImportStatus status = ImportStatus::BadInput;
    std::string message;                      // when not Done: names the file, and for bad input
                                              // the line and field, and what was expected
    std::vector<std::filesystem::path> existing;  // FilesExist: the files in the way
    std::vector<std::string> notes;           // when Done: choices made for the user
    std::filesystem::path setup_file;         // the set-up file (written when Done)
    JobRecord job;                            // the job as written to it
    std::vector<std::string> row_labels, col_labels;
    TableReadResult read;                     // the table, delimiter, shape and sizes
};

// The job record of an imported table, as the job form would hold it.
//   table:     the table read
//   settings:  the analyses; job_name already settled
//   csv_name:  the CSV file's name (for the title)
//   notes:     a sentence is added for each setting left out
JobRecord imported_job_record(const CountTable& table, const ImportJobSettings& settings, std::string_view csv_name,
                              std::vector<std::string>& notes);

// A variable name as a set-up file keeps it: code page 437, letters,
// digits, '-', '_' and '.' kept, anything else '_', at most 12 characters;
// fallback when the name is empty.
std::string variable_name(std::string_view name, std::string_view fallback);

// Reads csv_path and writes its job files beside it.
//   force: replace job files of that name (otherwise FilesExist).
ImportOutcome import_csv_job(const std::filesystem::path& csv_path, const TableReadOptions& options,
                             ImportJobSettings settings, bool force);

// The outcome's message for an error of the reader: "FILE: line L, field F: ...".
std::string located_message(const std::filesystem::path& file, const CsvError& error);

}  // namespace marvist
