#include "base/record_io.h"

#include <sys/stat.h>

#include <cstring>

#include "base/cp437.h"

namespace marvist {
namespace {

constexpr std::size_t kFlushAt = 64 * 1024;
// Longest record kept from an input file. A longer line is cut here: what a
// read takes from its beginning is read as usual, the rest is skipped unread.
constexpr std::size_t kMaxRecord = 64u * 1024 * 1024;
constexpr std::size_t kReadAhead = 64 * 1024;

}  // namespace

// ---- OutputFile --------------------------------------------------------

OutputFile::~OutputFile() { close(); }

// Opened with status "UNKNOWN": an existing file is emptied at once, so that a
// job stopped part way leaves only its own lines, never the tail of an older
// listing behind them.
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
    if (buffer_.size() >= kFlushAt) write_buffer();
}

// The lines are the bytes the file takes: they go in whole.
void OutputFile::put_records(std::string_view lines, std::span<const RecordEnd>) {
    if (file_ == nullptr) return;
    buffer_.append(lines);
    if (buffer_.size() >= kFlushAt) write_buffer();
}

void OutputFile::write_buffer() {
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) write_failed_ = true;
    buffer_.clear();
}

// ---- InputFile ---------------------------------------------------------

InputFile::~InputFile() { close(); }

bool InputFile::open(const std::string& path) {
    close();
    failed_ = false;
    truncated_ = false;
    at_ = end_ = 0;
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

bool InputFile::fill() {
    if (buffer_.size() != kReadAhead) buffer_.resize(kReadAhead);
    at_ = 0;
    end_ = std::fread(buffer_.data(), 1, kReadAhead, file_);
    if (end_ > 0) return true;
    if (std::ferror(file_)) failed_ = true;
    return false;
}

bool InputFile::next_record(std::string& record) {
    record.clear();
    truncated_ = false;
    if (file_ == nullptr || failed_) return false;
    bool any = false;
    for (;;) {
        if (at_ == end_ && !fill()) {
            if (failed_) return false;
            break;
        }
        any = true;
        const char* begin = buffer_.data() + at_;
        const auto* line_end = static_cast<const char*>(std::memchr(begin, '\n', end_ - at_));
        const std::size_t n = line_end != nullptr ? static_cast<std::size_t>(line_end - begin) : end_ - at_;
        const std::size_t room = kMaxRecord - record.size();
        record.append(begin, n < room ? n : room);
        if (n > room) truncated_ = true;
        at_ += n;
        if (line_end != nullptr) {
            ++at_;
            break;
        }
    }
    if (!any) return false;
    if (!truncated_ && !record.empty() && record.back() == '\r') record.pop_back();
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
