// RFC 4180 records read one at a time from a stream of bytes.
//
//   ByteSource, FileBytes, MemoryBytes   where the bytes come from
//   CsvReader                            records, their fields and their line
//
// The reader holds the record in hand and a read buffer, nothing that grows
// with the number of records. It accepts:
//   - fields separated by one delimiter (comma, semicolon or tab);
//   - fields in double quotes, which may hold the delimiter, line breaks and
//     doubled double quotes (each read as one);
//   - records ended by CRLF or LF, the last one also by the end of the file;
//   - UTF-8 text, with or without a byte-order mark, checked strictly
//     (overlong forms, surrogates and code points beyond U+10FFFF refused).
// Empty lines are skipped. Everything else is an error that names the line,
// the field and what was expected there; reading stops at the first one.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace marvist {

// A stream of bytes read in blocks.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Up to max bytes into `into`; 0 at the end of the stream or on a failure.
    virtual std::size_t read(char* into, std::size_t max) = 0;
    // True after a read failed (not merely ended).
    virtual bool failed() const { return false; }
};

// The bytes of a file, read with the C library.
class FileBytes : public ByteSource {
public:
    FileBytes() = default;
    ~FileBytes() override;
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    bool open(const std::string& path);
    std::size_t read(char* into, std::size_t max) override;
    bool failed() const override { return failed_; }

private:
    std::FILE* file_ = nullptr;
    bool failed_ = false;
};

// Bytes held in memory (tests, fuzzing, previews).
class MemoryBytes : public ByteSource {
public:
    explicit MemoryBytes(std::string_view bytes) : bytes_(bytes) {}
    std::size_t read(char* into, std::size_t max) override;

private:
    std::string_view bytes_;
};

// Bytes already taken from a source, given again before the rest of it.
class PrefixedBytes : public ByteSource {
public:
    PrefixedBytes(std::string_view prefix, ByteSource& rest) : prefix_(prefix), rest_(rest) {}
    std::size_t read(char* into, std::size_t max) override;
    bool failed() const override { return rest_.failed(); }

private:
    MemoryBytes prefix_;
    ByteSource& rest_;
};

// Where a read stopped on bad input: line and field (both from 1) and a
// sentence saying what was found and what was expected.
struct CsvError {
    std::int64_t line = 0;
    int field = 0;
    std::string message;
    bool input_ended = false;  // found because the input ended (in quotes, in a character)
};

// One record. The fields stay valid until the reader's next call.
struct CsvRecord {
    std::int64_t line = 0;  // the line on which the record starts
    std::vector<std::string_view> fields;
};

// The longest record the reader keeps (a longer one is an error).
inline constexpr std::size_t kMaxCsvRecord = std::size_t{64} << 20;

class CsvReader {
public:
    //   in:        the bytes, from the start of the file
    //   delimiter: ',', ';' or '\t'
    CsvReader(ByteSource& in, char delimiter);

    // The next record that is not an empty line. False at the end of the
    // input, and on bad input or a read failure (then error() tells which).
    bool next(CsvRecord& record);

    bool has_error() const { return has_error_; }
    const CsvError& error() const { return error_; }
    // Bytes taken from the source so far (for progress and throughput).
    std::uint64_t bytes_read() const { return bytes_read_; }
    // True when the input began with a UTF-8 byte-order mark.
    bool had_byte_order_mark() const { return had_bom_; }
    // True when a record so far ended with CRLF.
    bool saw_crlf() const { return saw_crlf_; }

private:
    enum class Step { Record, NeedMore, Failed };
    struct FieldSpan {
        bool in_scratch;
        std::size_t offset, size;
    };

    Step parse(bool at_end, std::size_t& consumed, std::int64_t& lines);
    Step fail(std::int64_t line, int field, std::string message);
    bool refill();
    void check_start();

    ByteSource& in_;
    char delimiter_;
    std::vector<unsigned char> plain_stop_;   // bytes that end a run of an unquoted field
    std::vector<unsigned char> quoted_stop_;  // bytes that end a run of a quoted field
    std::string buffer_;
    std::size_t begin_ = 0, end_ = 0;  // [begin_, end_) not yet parsed
    bool at_end_ = false;
    bool started_ = false;
    std::int64_t line_ = 1;
    std::string scratch_;  // quoted fields with doubled quotes, unescaped
    std::vector<FieldSpan> spans_;
    std::size_t lines_end_bytes_ = 0;  // bytes of the line end that closed the record parsed
    bool has_error_ = false;
    CsvError error_;
    std::uint64_t bytes_read_ = 0;
    bool had_bom_ = false;
    bool saw_crlf_ = false;
};

}  // namespace marvist
