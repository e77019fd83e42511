#include "listing/record_io.h"

#include <sys/stat.h>

#include "listing/cp437.h"

namespace marvist {
namespace {

constexpr std::size_t kFlushAt = 64 * 1024;
// Longest record an input file may hold; a longer line is a read failure.
constexpr std::size_t kMaxRecord = 64u * 1024 * 1024;

}  // namespace

// ---- OutputFile --------------------------------------------------------

OutputFile::~OutputFile() { close(); }

bool OutputFile::open(const std::string& path) {
    close();
    write_failed_ = false;
    buffer_.clear();
    file_ = std::fopen(path.c_str(), "wb");
    if (file_ != nullptr) buffer_.reserve(kFlushAt + 4096);
    return file_ != nullptr;
}

bool OutputFile::flush() {
    if (file_ == nullptr) return true;
    if (!buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) {
        write_failed_ = true;
    }
    buffer_.clear();
    if (std::fflush(file_) != 0) write_failed_ = true;
    return !write_failed_;
}

bool OutputFile::close() {
    if (file_ == nullptr) return true;
    flush();
    if (std::fclose(file_) != 0) write_failed_ = true;
    file_ = nullptr;
    return !write_failed_;
}

void OutputFile::put_record(std::string_view record, bool complete) {
    if (file_ == nullptr) return;
    buffer_.append(record);
    if (complete) buffer_ += '\n';
    if (buffer_.size() >= kFlushAt) {
        if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) write_failed_ = true;
        buffer_.clear();
    }
}

// ---- InputFile ---------------------------------------------------------

InputFile::~InputFile() { close(); }

bool InputFile::open(const std::string& path) {
    close();
    failed_ = false;
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr) return false;
    // A folder opens on some systems but holds no records: refuse it here.
    struct stat st {};
    if (fstat(fileno(file_), &st) == 0 && S_ISDIR(st.st_mode)) {
        close();
        return false;
    }
    return true;
}

void InputFile::close() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
}

bool InputFile::next_record(std::string& record) {
    record.clear();
    if (file_ == nullptr || failed_) return false;
    bool any = false;
    for (;;) {
        const int c = getc_unlocked(file_);
        if (c == EOF) {
            if (std::ferror(file_)) {
                failed_ = true;
                return false;
            }
            break;
        }
        any = true;
        if (c == '\n') break;
        if (record.size() >= kMaxRecord) {
            failed_ = true;
            record.clear();
            return false;
        }
        record += static_cast<char>(c);
    }
    if (!any) return false;
    if (!record.empty() && record.back() == '\r') record.pop_back();
    return true;
}

// ---- TextSource --------------------------------------------------------

bool TextSource::next_record(std::string& record) {
    if (pos_ >= text_.size()) return false;
    std::size_t end = text_.find('\n', pos_);
    std::size_t next = end + 1;
    if (end == std::string::npos) end = next = text_.size();
    record.assign(text_, pos_, end - pos_);
    if (!record.empty() && record.back() == '\r') record.pop_back();
    pos_ = next;
    return true;
}

// ---- CapturedRecords and ConsoleSink -----------------------------------

void CapturedRecords::put_record(std::string_view record, bool complete) {
    if (open_line_ && !lines.empty()) {
        lines.back().append(record);
    } else {
        lines.emplace_back(record);
    }
    open_line_ = !complete;
}

void ConsoleSink::put_record(std::string_view record, bool complete) {
    std::string text = cp437_to_utf8(record);
    if (complete) text += '\n';
    std::fwrite(text.data(), 1, text.size(), stream_);
    if (!complete) std::fflush(stream_);
}

}  // namespace marvist
