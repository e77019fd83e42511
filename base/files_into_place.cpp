#include "base/files_into_place.h"

#include <system_error>
#include <vector>

#include "base/staged_file.h"

namespace marvist {

namespace fs = std::filesystem;

std::optional<OutputError> create_folder(const fs::path& folder) {
    std::error_code ec;
    if (fs::is_directory(folder, ec)) return std::nullopt;
    if (fs::exists(folder, ec)) return OutputError{folder.string(), "it exists and is not a folder"};
    fs::create_directories(folder, ec);
    if (ec) return OutputError{folder.string(), ec.message()};
    return std::nullopt;
}

std::optional<OutputError> write_files_into_place(std::span<const FileToWrite> files) {
    std::vector<StagedFile> staged;
    staged.reserve(files.size());
    for (const FileToWrite& f : files) {
        staged.emplace_back(f.path);
        if (!staged.back().write(f.bytes)) return staged.back().error();  // the temporary files go with `staged`
    }
    return commit_all(staged);
}

}  // namespace marvist
