// The files of a job made from an imported table, written beside the CSV
// file: NAME.dat (the counts in free format, one table row a line),
// NAME.lab (six-character labels, "(13A6)"), NAME.names (the full names,
// analysis/category_names.h) and NAME.set (the set-up file, as the desktop
// program writes it).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/category_names.h"
#include "analysis/job_record.h"
#include "import/table_options.h"

namespace marvist {

// The job files' extensions, in the order they are listed to the user.
inline constexpr std::string_view kJobFileExtensions[] = {".dat", ".lab", ".names", ".set"};

// The data file's text: each row's counts after one blank each, LF ends.
std::string data_file_text(const CountTable& table);

// The label file's text: the row labels thirteen to a line, then the
// column labels from a new line, as "(13A6)" writes them.
std::string label_file_text(const std::vector<std::string>& row_labels, const std::vector<std::string>& col_labels);

// The paths of the job files of job_name in folder.
std::vector<std::filesystem::path> job_file_paths(const std::filesystem::path& folder, std::string_view job_name);

// Those of paths that exist (as anything, a folder too).
std::vector<std::filesystem::path> existing_files(const std::vector<std::filesystem::path>& paths);

struct JobFileTexts {
    std::string data;
    std::string labels;
    std::string names;
    JobRecord job;  // written as the set-up file
};

// Writes the four files. Each is written under a temporary name first and
// renamed into place when all four are complete, so a failure leaves none
// of them (and no temporary file) behind. Files of those names are
// replaced: the caller has checked them. On failure the message names the
// file and the reason.
bool write_job_files(const std::vector<std::filesystem::path>& paths, const JobFileTexts& texts,
                     std::string& message);

}  // namespace marvist
