// Record sinks and sources over files, consoles and memory.
#pragma once

#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/layout.h"

namespace marvist {

// A text file written record by record (the listing, set-up and data files),
// opened with status "UNKNOWN": created if absent, written from its start.
class OutputFile : public RecordSink {
public:
    OutputFile() = default;
    ~OutputFile() override;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool open(const std::string& path);
    bool is_open() const { return file_ != nullptr; }
    // Writes out what is buffered; false when any data so far could not be
    // written (a full disk, say). Does nothing when the file is not open.
    bool flush();
    // Flushes and closes; closing a file that is not open does nothing.
    // Returns false when the data could not be written.
    bool close();
    void put_record(std::string_view record, bool complete) override;
    void put_records(std::string_view lines, std::span<const RecordEnd> ends) override;

private:
    void write_buffer();  // hands the buffer to the file and empties it

    std::FILE* file_ = nullptr;
    std::string buffer_;
    bool write_failed_ = false;
};

// A text file read record by record, opened with status "OLD" (must exist).
class InputFile : public RecordSource {
public:
    InputFile() = default;
    ~InputFile() override;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    bool open(const std::string& path);
    bool is_open() const { return file_ != nullptr; }
    void close();
    // A line longer than the longest record kept (64 MiB) is given cut to
    // that length and marked truncated; the rest of the line is skipped.
    bool next_record(std::string& record) override;
    bool failed() const override { return failed_; }
    bool truncated() const override { return truncated_; }

private:
    bool fill();  // refills the read buffer; false at the end or on a failure

    std::FILE* file_ = nullptr;
    bool failed_ = false;
    bool truncated_ = false;
    std::string buffer_;  // bytes read ahead, [at_, end_) not yet given
    std::size_t at_ = 0, end_ = 0;
};

// Records held in memory (tests, windows, fuzzing).
class TextSource : public RecordSource {
public:
    explicit TextSource(std::string_view text) : text_(text) {}
    bool next_record(std::string& record) override;

private:
    std::string text_;
    std::size_t pos_ = 0;
};

class CapturedRecords : public RecordSink {
public:
    void put_record(std::string_view record, bool complete) override;
    std::vector<std::string> lines;  // code-page-437 bytes, one per record

private:
    bool open_line_ = false;
};

// A console stream: records are converted to UTF-8, one per line.
class ConsoleSink : public RecordSink {
public:
    explicit ConsoleSink(std::FILE* stream) : stream_(stream) {}
    void put_record(std::string_view record, bool complete) override;

private:
    std::FILE* stream_;
};

}  // namespace marvist
