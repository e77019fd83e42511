// Files written under a temporary name in their folder and renamed into
// place only when complete, so that a run that is interrupted or fails never
// leaves a half-written file under a final name. Written piece by piece, for
// files too large to hold whole; base/files_into_place.h writes a set of
// files held whole in memory through them.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/files_into_place.h"

namespace marvist {

class StagedFile {
public:
    // Opens a new temporary file ".NAME.partial[-k]" beside final_path;
    // see error().
    explicit StagedFile(std::filesystem::path final_path);
    // Removes the temporary file unless it has been renamed into place.
    ~StagedFile();
    StagedFile(StagedFile&&) noexcept;
    StagedFile& operator=(StagedFile&&) noexcept;

    // Appends bytes, unbuffered: write large blocks. False (see error())
    // once anything has failed.
    bool write(std::string_view bytes);
    // Flushes and closes the temporary file; false on failure.
    bool close();
    // Renames the closed file to its final name, replacing a file there.
    bool commit();

    const std::filesystem::path& final_path() const { return final_path_; }
    const std::optional<OutputError>& error() const { return error_; }

private:
    void fail(int error_number);
    void discard();

    std::filesystem::path final_path_, temp_path_;
    std::FILE* file_ = nullptr;
    bool committed_ = false;
    std::optional<OutputError> error_;
};

// Closes every file, then renames them all into place when all closed
// cleanly. The first error, if any; then no file is renamed (when a rename
// fails, those before it stay renamed) and the temporary files are removed.
std::optional<OutputError> commit_all(std::vector<StagedFile>& files);

}  // namespace marvist
