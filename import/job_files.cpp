#include "import/job_files.h"

#include <charconv>
#include <cstdio>
#include <system_error>
#include <unistd.h>

#include "app/batch/setup_file.h"
#include "base/layout.h"
#include "base/record_io.h"

namespace marvist {
namespace {

namespace fs = std::filesystem;

bool write_bytes(const fs::path& path, std::string_view bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace

std::string data_file_text(const CountTable& table) {
    std::string text;
    text.reserve(table.counts.size() * 4);
    char digits[16];
    for (std::size_t i = 0; i < table.rows(); ++i) {
        for (std::size_t j = 0; j < table.cols(); ++j) {
            text += ' ';
            text.append(digits, std::to_chars(digits, digits + sizeof digits, table.at(i, j)).ptr);
        }
        text += '\n';
    }
    return text;
}

std::string label_file_text(const std::vector<std::string>& row_labels, const std::vector<std::string>& col_labels) {
    CapturedRecords records;
    for (const auto* labels : {&row_labels, &col_labels}) {
        const std::vector<Value> values(labels->begin(), labels->end());
        write_records(records, cached_layout("(13A6)"), values);
    }
    std::string text;
    for (const std::string& line : records.lines) text += line + '\n';
    return text;
}

std::vector<fs::path> job_file_paths(const fs::path& folder, std::string_view job_name) {
    std::vector<fs::path> paths;
    for (std::string_view ext : kJobFileExtensions) paths.push_back(folder / (std::string(job_name) + std::string(ext)));
    return paths;
}

std::vector<fs::path> existing_files(const std::vector<fs::path>& paths) {
    std::vector<fs::path> found;
    for (const fs::path& p : paths) {
        std::error_code ec;
        if (fs::exists(fs::symlink_status(p, ec))) found.push_back(p);
    }
    return found;
}

bool write_job_files(const std::vector<fs::path>& paths, const JobFileTexts& texts, std::string& message) {
    std::vector<fs::path> temporaries;
    for (const fs::path& p : paths) {
        temporaries.push_back(p.string() + ".part-" + std::to_string(static_cast<long>(getpid())));
    }
    auto remove_temporaries = [&] {
        std::error_code ec;
        for (const fs::path& t : temporaries) fs::remove(t, ec);
    };
    const std::string_view bytes[] = {texts.data, texts.labels, texts.names};
    for (std::size_t k = 0; k < paths.size(); ++k) {
        bool written = false;
        if (k < 3) {
            written = write_bytes(temporaries[k], bytes[k]);
        } else {
            written = write_setup_file(temporaries[k].string(), texts.job).ok;
        }
        if (!written) {
            remove_temporaries();
            message = paths[k].string() + ": cannot be written";
            return false;
        }
    }
    for (std::size_t k = 0; k < paths.size(); ++k) {
        std::error_code ec;
        fs::rename(temporaries[k], paths[k], ec);
        if (ec) {
            // Take back the files already in place, so none is left half done.
            for (std::size_t q = 0; q < k; ++q) fs::remove(paths[q], ec);
            remove_temporaries();
            message = paths[k].string() + ": cannot be written: " + ec.message();
            return false;
        }
    }
    return true;
}

}  // namespace marvist
