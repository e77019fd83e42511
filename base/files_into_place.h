// Output files written whole or not at all: each goes to a temporary name
// beside its final one and is renamed into place only when every file of
// the set has been written, so that a failed or interrupted run never
// leaves a half-written file under a final name.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace marvist {

struct FileToWrite {
    std::filesystem::path path;  // final name
    std::string bytes;           // whole contents
};

// A path that could not be created or written, and why.
struct OutputError {
    std::string path;
    std::string reason;
};

// Creates the folder and its parents when absent; an error when that fails
// or the path names something that is not a folder.
std::optional<OutputError> create_folder(const std::filesystem::path& folder);

// Writes each file to ".NAME.partial" in its folder (a base/staged_file.h),
// then renames them all to their final names, replacing files there. When a
// write fails, every
// temporary file is removed and nothing is renamed; when a rename fails,
// the files renamed before it stay. Other files are left alone.
std::optional<OutputError> write_files_into_place(std::span<const FileToWrite> files);

}  // namespace marvist
