#include "import/csv_reader.h"

#include <cstring>

#include "base/utf8_check.h"

namespace marvist {
namespace {

// The read buffer starts small (a short file costs little) and grows to
// kBlock once the file proves longer than it.
constexpr std::size_t kFirstBlock = std::size_t{64} << 10;
constexpr std::size_t kBlock = std::size_t{1} << 20;

// The bytes at p shown as hexadecimal, for a message about them.
std::string hex_bytes(const unsigned char* p, std::size_t available) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string shown;
    const std::size_t n = available < 4 ? available : 4;
    for (std::size_t k = 0; k < n && (k == 0 || p[k] >= 0x80); ++k) {
        if (k > 0) shown += ' ';
        shown += "0x";
        shown += kDigits[p[k] >> 4];
        shown += kDigits[p[k] & 15];
    }
    return shown;
}

}  // namespace

FileBytes::~FileBytes() {
    if (file_ != nullptr) std::fclose(file_);
}

bool FileBytes::open(const std::string& path) {
    if (file_ != nullptr) std::fclose(file_);
    file_ = std::fopen(path.c_str(), "rb");
    failed_ = false;
    return file_ != nullptr;
}

std::size_t FileBytes::read(char* into, std::size_t max) {
    if (file_ == nullptr) return 0;
    const std::size_t n = std::fread(into, 1, max, file_);
    if (n == 0 && std::ferror(file_)) failed_ = true;
    return n;
}

std::size_t MemoryBytes::read(char* into, std::size_t max) {
    const std::size_t n = bytes_.size() < max ? bytes_.size() : max;
    std::memcpy(into, bytes_.data(), n);
    bytes_.remove_prefix(n);
    return n;
}

std::size_t PrefixedBytes::read(char* into, std::size_t max) {
    const std::size_t n = prefix_.read(into, max);
    return n > 0 ? n : rest_.read(into, max);
}

CsvReader::CsvReader(ByteSource& in, char delimiter)
    : in_(in), delimiter_(delimiter), plain_stop_(256, 0), quoted_stop_(256, 0) {
    for (unsigned c = 0x80; c < 256; ++c) plain_stop_[c] = quoted_stop_[c] = 1;
    plain_stop_[static_cast<unsigned char>(delimiter)] = 1;
    plain_stop_['"'] = plain_stop_['\r'] = plain_stop_['\n'] = 1;
    quoted_stop_['"'] = quoted_stop_['\n'] = 1;
}

CsvReader::Step CsvReader::fail(std::int64_t line, int field, std::string message) {
    has_error_ = true;
    error_ = CsvError{line, field, std::move(message)};
    return Step::Failed;
}

// Moves what is not yet parsed to the front of the buffer, grows the buffer
// when a record fills it, and reads more. False when nothing more comes.
bool CsvReader::refill() {
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (end_ == buffer_.size()) {
        if (buffer_.size() >= kMaxCsvRecord) {
            fail(line_, 1,
                 "a record longer than 64 MiB; expected records of ordinary length (is a double quote left open?)");
            return false;
        }
        buffer_.resize(buffer_.empty() ? kFirstBlock : buffer_.size() * 2);
    } else if (buffer_.size() < kBlock && bytes_read_ > 0) {
        buffer_.resize(kBlock);
    }
    // The buffer is filled, so that a record cut by its end is parsed again
    // only once per doubling of the buffer.
    const std::size_t before = end_;
    while (end_ < buffer_.size()) {
        const std::size_t n = in_.read(buffer_.data() + end_, buffer_.size() - end_);
        if (n == 0) {
            at_end_ = true;
            if (in_.failed()) fail(line_, 1, "the file cannot be read (a read error)");
            break;
        }
        end_ += n;
    }
    bytes_read_ += end_ - before;
    return end_ > before;
}

// A byte-order mark at the very start: UTF-8's is skipped, UTF-16's refused.
void CsvReader::check_start() {
    started_ = true;
    while (end_ - begin_ < 3 && !at_end_ && !has_error_) refill();
    const auto* p = reinterpret_cast<const unsigned char*>(buffer_.data()) + begin_;
    const std::size_t n = end_ - begin_;
    if (n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) {
        begin_ += 3;
        had_bom_ = true;
    } else if (n >= 2 && ((p[0] == 0xFF && p[1] == 0xFE) || (p[0] == 0xFE && p[1] == 0xFF))) {
        fail(1, 1, "the file begins with a UTF-16 byte-order mark; expected UTF-8 text (save the file as UTF-8)");
    }
}

bool CsvReader::next(CsvRecord& record) {
    if (!started_) check_start();
    for (;;) {
        if (has_error_) return false;
        if (begin_ == end_) {
            if (at_end_) return false;
            refill();
            continue;
        }
        std::size_t consumed = 0;
        std::int64_t lines = 0;
        const Step step = parse(at_end_, consumed, lines);
        if (step == Step::Failed) return false;
        if (step == Step::NeedMore) {
            refill();
            continue;
        }
        const bool empty_line = spans_.size() == 1 && spans_[0].size == 0 && consumed == lines_end_bytes_;
        const std::int64_t first_line = line_;
        begin_ += consumed;
        line_ += lines;
        if (empty_line) continue;
        record.line = first_line;
        record.fields.clear();
        for (const FieldSpan& s : spans_) {
            const char* base = s.in_scratch ? scratch_.data() : buffer_.data();
            record.fields.emplace_back(base + s.offset, s.size);
        }
        return true;
    }
}

// Parses one record from buffer_[begin_]. NeedMore when the bytes in hand
// end inside it and more may come.
CsvReader::Step CsvReader::parse(bool at_end, std::size_t& consumed, std::int64_t& lines) {
    const auto* const base = reinterpret_cast<const unsigned char*>(buffer_.data());
    const unsigned char* const start = base + begin_;
    const unsigned char* const end = base + end_;
    const auto delimiter = static_cast<unsigned char>(delimiter_);
    const unsigned char* p = start;
    spans_.clear();
    scratch_.clear();
    lines = 0;
    lines_end_bytes_ = 0;
    int field = 1;

    // A byte from 0x80 at p: steps over its UTF-8 sequence, or fails.
    auto step_over_utf8 = [&](const unsigned char*& q) -> Step {
        bool needs_more = false;
        const std::size_t n = utf8_sequence_length(q, static_cast<std::size_t>(end - q), needs_more);
        if (n > 0) {
            q += n;
            return Step::Record;
        }
        if (needs_more && !at_end) return Step::NeedMore;
        fail(line_ + lines, field,
             "bytes that are not UTF-8 (" + hex_bytes(q, static_cast<std::size_t>(end - q)) +
                 "); expected UTF-8 text (save the file as UTF-8)");
        error_.input_ended = needs_more;
        return Step::Failed;
    };
    // What ends a field at p: the delimiter (true: another field follows),
    // a line end or the end of the input (false: the record is complete).
    auto field_end = [&](const unsigned char*& q, bool& another, std::string_view after) -> Step {
        another = false;
        if (q == end) return at_end ? Step::Record : Step::NeedMore;
        if (*q == delimiter) {
            ++q;
            another = true;
            return Step::Record;
        }
        if (*q == '\n') {
            ++q;
            ++lines;
            lines_end_bytes_ = 1;
            return Step::Record;
        }
        if (*q == '\r') {
            if (q + 1 == end && !at_end) return Step::NeedMore;
            if (q + 1 < end && q[1] == '\n') {
                q += 2;
                ++lines;
                lines_end_bytes_ = 2;
                saw_crlf_ = true;
                return Step::Record;
            }
            return fail(line_ + lines, field,
                        "a carriage return not followed by a line feed; expected lines ended by CRLF or LF");
        }
        return fail(line_ + lines, field, std::string(after));
    };

    for (;;) {
        bool another = false;
        if (p < end && *p == '"') {
            const std::int64_t opened_on = line_ + lines;
            const unsigned char* const content = ++p;
            bool doubled = false;
            for (;;) {
                while (p < end && quoted_stop_[*p] == 0) ++p;
                if (p == end) {
                    if (!at_end) return Step::NeedMore;
                    fail(opened_on, field,
                         "the file ends inside a field whose double quote opens on line " +
                             std::to_string(opened_on) + "; expected a closing double quote");
                    error_.input_ended = true;
                    return Step::Failed;
                }
                if (*p == '\n') {
                    ++lines;
                    ++p;
                } else if (*p == '"') {
                    if (p + 1 == end && !at_end) return Step::NeedMore;
                    if (p + 1 < end && p[1] == '"') {
                        doubled = true;
                        p += 2;
                    } else {
                        break;
                    }
                } else if (const Step s = step_over_utf8(p); s != Step::Record) {
                    return s;
                }
            }
            const std::size_t offset = static_cast<std::size_t>(content - base);
            const std::size_t size = static_cast<std::size_t>(p - content);
            if (doubled) {
                const std::size_t from = scratch_.size();
                for (const unsigned char* q = content; q < p; ++q) {
                    scratch_ += static_cast<char>(*q);
                    if (*q == '"') ++q;  // the second of a doubled pair
                }
                spans_.push_back(FieldSpan{true, from, scratch_.size() - from});
            } else {
                spans_.push_back(FieldSpan{false, offset, size});
            }
            ++p;  // the closing quote
            const Step s = field_end(p, another,
                                     "a character after the closing double quote of this field; expected the "
                                     "delimiter or the end of the line");
            if (s != Step::Record) return s;
        } else {
            const unsigned char* const content = p;
            for (;;) {
                while (p < end && plain_stop_[*p] == 0) ++p;
                if (p == end || *p < 0x80) break;
                if (const Step s = step_over_utf8(p); s != Step::Record) return s;
            }
            if (p < end && *p == '"') {
                return fail(line_ + lines, field,
                            "a double quote inside a field that does not begin with one; expected the whole field "
                            "in double quotes, with each double quote in it doubled");
            }
            spans_.push_back(FieldSpan{false, static_cast<std::size_t>(content - base),
                                       static_cast<std::size_t>(p - content)});
            const Step s = field_end(p, another, "");
            if (s != Step::Record) return s;
        }
        if (!another) break;
        ++field;
    }
    consumed = static_cast<std::size_t>(p - start);
    return Step::Record;
}

}  // namespace marvist
