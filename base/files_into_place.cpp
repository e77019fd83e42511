#include "base/files_into_place.h"

#include <cerrno>
#include <cstdio>
#include <system_error>
#include <vector>

namespace marvist {
namespace {

namespace fs = std::filesystem;

fs::path temporary_name(const fs::path& path) {
    std::string name(".");
    name.append(path.filename().string()).append(".partial");
    return path.parent_path() / name;
}

std::string reason_of(int error_number) { return std::generic_category().message(error_number); }

// Writes bytes to path; the reason on failure.
std::optional<std::string> write_whole(const fs::path& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return reason_of(errno);
    errno = 0;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int write_error = errno;
    const bool flushed = std::fflush(file) == 0;
    const int flush_error = errno;
    const bool closed = std::fclose(file) == 0;
    if (written && flushed && closed) return std::nullopt;
    const int error_number = !written ? write_error : !flushed ? flush_error : errno;
    return error_number != 0 ? reason_of(error_number) : std::string("the file could not be written in full");
}

}  // namespace

std::optional<OutputError> create_folder(const fs::path& folder) {
    std::error_code ec;
    if (fs::is_directory(folder, ec)) return std::nullopt;
    if (fs::exists(folder, ec)) return OutputError{folder.string(), "it exists and is not a folder"};
    fs::create_directories(folder, ec);
    if (ec) return OutputError{folder.string(), ec.message()};
    return std::nullopt;
}

std::optional<OutputError> write_files_into_place(std::span<const FileToWrite> files) {
    std::vector<fs::path> written;
    const auto remove_written = [&written] {
        std::error_code ignored;
        for (const fs::path& p : written) fs::remove(p, ignored);
    };
    for (const FileToWrite& f : files) {
        const fs::path temporary = temporary_name(f.path);
        if (auto reason = write_whole(temporary, f.bytes)) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            remove_written();
            return OutputError{f.path.string(), *reason};
        }
        written.push_back(temporary);
    }
    for (std::size_t k = 0; k < files.size(); ++k) {
        std::error_code ec;
        fs::rename(written[k], files[k].path, ec);
        if (ec) {
            const std::vector<fs::path> left(written.begin() + static_cast<std::ptrdiff_t>(k), written.end());
            written = left;
            remove_written();
            return OutputError{files[k].path.string(), ec.message()};
        }
    }
    return std::nullopt;
}

}  // namespace marvist
