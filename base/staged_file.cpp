#include "base/staged_file.h"

#include <cerrno>
#include <cstring>
#include <system_error>
#include <utility>

namespace marvist {
namespace {

std::string reason_of(int error_number) { return std::generic_category().message(error_number); }

}  // namespace

StagedFile::StagedFile(std::filesystem::path final_path) : final_path_(std::move(final_path)) {
    std::string hidden = ".";
    hidden.append(final_path_.filename().string()).append(".partial");
    for (int k = 0; k < 100 && file_ == nullptr; ++k) {
        std::string name = hidden;
        if (k > 0) name.append("-").append(std::to_string(k));
        temp_path_ = final_path_.parent_path() / name;
        errno = 0;
        file_ = std::fopen(temp_path_.c_str(), "wbx");  // only a file that does not exist yet
        if (file_ == nullptr && errno != EEXIST) break;
    }
    if (file_ == nullptr) {
        const int error_number = errno != 0 ? errno : EEXIST;
        temp_path_.clear();
        fail(error_number);
        return;
    }
    std::setvbuf(file_, nullptr, _IONBF, 0);  // the callers write large blocks
}

StagedFile::~StagedFile() { discard(); }

StagedFile::StagedFile(StagedFile&& other) noexcept
    : final_path_(std::move(other.final_path_)),
      temp_path_(std::exchange(other.temp_path_, {})),
      file_(std::exchange(other.file_, nullptr)),
      committed_(other.committed_),
      error_(std::move(other.error_)) {}

StagedFile& StagedFile::operator=(StagedFile&& other) noexcept {
    if (this != &other) {
        discard();
        final_path_ = std::move(other.final_path_);
        temp_path_ = std::exchange(other.temp_path_, {});
        file_ = std::exchange(other.file_, nullptr);
        committed_ = other.committed_;
        error_ = std::move(other.error_);
    }
    return *this;
}

void StagedFile::fail(int error_number) {
    if (!error_) error_ = OutputError{final_path_.string(), reason_of(error_number)};
}

bool StagedFile::write(std::string_view bytes) {
    if (error_ || file_ == nullptr) return false;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
        fail(errno != 0 ? errno : EIO);
        return false;
    }
    return true;
}

bool StagedFile::close() {
    if (file_ != nullptr) {
        errno = 0;
        const bool flushed = std::fflush(file_) == 0;
        const int flush_error = errno;
        errno = 0;
        const bool closed = std::fclose(file_) == 0;
        file_ = nullptr;
        if (!flushed) fail(flush_error != 0 ? flush_error : EIO);
        if (!closed) fail(errno != 0 ? errno : EIO);
    }
    return !error_;
}

bool StagedFile::commit() {
    if (!close() || temp_path_.empty()) return false;
    std::error_code ec;
    std::filesystem::rename(temp_path_, final_path_, ec);
    if (ec) {
        if (!error_) error_ = OutputError{final_path_.string(), ec.message()};
        return false;
    }
    committed_ = true;
    temp_path_.clear();
    return true;
}

void StagedFile::discard() {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!committed_ && !temp_path_.empty()) {
        std::error_code ec;
        std::filesystem::remove(temp_path_, ec);
        temp_path_.clear();
    }
}

std::optional<OutputError> commit_all(std::vector<StagedFile>& files) {
    std::optional<OutputError> error;
    for (StagedFile& file : files) {
        if (!file.close() && !error) error = file.error();
    }
    for (auto file = files.begin(); !error && file != files.end(); ++file) {
        if (!file->commit()) error = file->error();
    }
    if (error) files.clear();  // removes the temporary files
    return error;
}

}  // namespace marvist
