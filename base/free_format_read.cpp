// The free-format reader: values separated by blanks, tabs, commas or record
// ends, with repeat counts (r*v), null values (",," and r*) and '/' to end.
// Besides the record in hand it keeps no more than the longest character
// target of a quoted value: nothing that grows with the number of targets.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

#include "base/fixed_text.h"
#include "base/integer_text.h"
#include "base/layout.h"

namespace marvist {
namespace {

bool separator(char c) { return c == ' ' || c == '\t' || c == ',' || c == '/'; }
bool digit(char c) { return c >= '0' && c <= '9'; }

class FreeReader {
public:
    FreeReader(RecordSource& in, std::span<FreeTarget> targets) : in_(in), targets_(targets), count_(targets.size()) {
        for (const FreeTarget& t : targets) {
            if (t.text != nullptr) keep_ = std::max(keep_, t.length);
        }
    }
    FreeReader(RecordSource& in, std::span<std::int64_t> integers, IntegerRange range)
        : in_(in), integers_(integers), range_(range), count_(integers.size()), integers_only_(true) {}

    int run() {
        if (!next_record()) return status_;
        std::size_t k = 0;
        bool after_comma = true;  // a comma here gives a null value
        while (k < count_) {
            if (pos_ >= record_.size()) {
                if (!next_record()) return status_;
                continue;
            }
            const char c = record_[pos_];
            if (c == ' ' || c == '\t') {
                ++pos_;
                continue;
            }
            if (c == ',') {
                ++pos_;
                if (after_comma) ++k;  // a null value
                after_comma = true;
                continue;
            }
            if (c == '/') return kReadOk;
            if (integers_only_ && digit(c)) {
                const int plain = plain_integer(k);
                if (plain == kPlainStored) {
                    ++k;
                    after_comma = false;
                    continue;
                }
                if (plain == kPlainOutOfRange) return kReadInputError;
            }

            std::uint64_t repeat = 1;
            if (!repeat_prefix(repeat)) return kReadInputError;
            after_comma = false;
            const std::size_t copies = repeat < count_ - k ? static_cast<std::size_t>(repeat) : count_ - k;
            if (pos_ >= record_.size() && in_.truncated()) return kReadInputError;  // cut after "r*"
            if (pos_ >= record_.size() || separator(record_[pos_])) {
                k += copies;  // r* : r null values
                continue;
            }
            std::string_view value;
            bool quoted = false;
            const int s = token(value, quoted);
            if (s != kReadOk) return s;
            // A value that no target can take fails the read at once.
            for (std::size_t c2 = 0; c2 < copies; ++c2, ++k) {
                if (!store(k, value, quoted)) return kReadInputError;
            }
        }
        return kReadOk;
    }

private:
    bool next_record() {
        // Values of a cut line may continue past what was kept of it.
        if (have_record_ && in_.truncated()) {
            status_ = kReadInputError;
            return false;
        }
        have_record_ = true;
        pos_ = 0;
        if (in_.next_record(record_)) return true;
        status_ = in_.failed() ? kReadInputError : kReadEndOfFile;
        return false;
    }

    // What plain_integer() did.
    static constexpr int kPlainStored = 0;      // stored in integer target k
    static constexpr int kPlainOutOfRange = 1;  // a plain integer outside the range: an input error
    static constexpr int kPlainOther = 2;       // not a plain integer: nothing done

    // The common value of a table of counts, read in one pass: digits up to
    // a separator or the record's end (not where the record was cut), whose
    // value fits 64 bits. Anything else (a repeat count, a sign, other
    // characters) is left to the general path, which reads a plain integer
    // to the same value.
    int plain_integer(std::size_t k) {
        constexpr std::uint64_t kMost = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
        std::size_t p = pos_;
        std::uint64_t magnitude = 0;
        for (; p < record_.size() && digit(record_[p]); ++p) {
            const auto d = static_cast<std::uint64_t>(record_[p] - '0');
            if (magnitude > (kMost - d) / 10) return kPlainOther;
            magnitude = magnitude * 10 + d;
        }
        if (p < record_.size() ? !separator(record_[p]) : in_.truncated()) return kPlainOther;
        const auto v = static_cast<std::int64_t>(magnitude);
        if (v < range_.min || v > range_.max) return kPlainOutOfRange;
        integers_[k] = v;
        pos_ = p;
        return kPlainStored;
    }

    // "r*" before a value: digits followed by '*'. Leaves pos_ after the '*'.
    bool repeat_prefix(std::uint64_t& repeat) {
        std::size_t p = pos_;
        while (p < record_.size() && digit(record_[p])) ++p;
        if (p == pos_ || p >= record_.size() || record_[p] != '*') return true;
        std::int64_t r = 0;
        if (!parse_integer_field(std::string_view(record_).substr(pos_, p - pos_), r) || r < 1) return false;
        repeat = static_cast<std::uint64_t>(r);
        pos_ = p + 1;
        return true;
    }

    // One value: quoted ('..' or "..", doubled quotes, over several records
    // if need be) or running to the next separator. An unquoted value is
    // seen in the record; of a quoted one only what a target can take is kept.
    int token(std::string_view& value, bool& quoted) {
        const char q = record_[pos_];
        if (q != '\'' && q != '"') {
            const std::size_t start = pos_;
            while (pos_ < record_.size() && !separator(record_[pos_])) ++pos_;
            if (pos_ == record_.size() && in_.truncated()) return kReadInputError;  // cut inside the value
            value = std::string_view(record_).substr(start, pos_ - start);
            return kReadOk;
        }
        quoted = true;
        quoted_.clear();
        ++pos_;
        for (;;) {
            if (pos_ >= record_.size()) {
                if (!next_record()) return status_;
                continue;
            }
            const char c = record_[pos_++];
            if (c == q) {
                if (pos_ < record_.size() && record_[pos_] == q) {
                    keep(q);
                    ++pos_;
                    continue;
                }
                break;
            }
            keep(c);
        }
        // A closing quote must be followed by a separator or the record end.
        if (pos_ < record_.size() && !separator(record_[pos_])) return kReadInputError;
        value = quoted_;
        return kReadOk;
    }

    void keep(char c) {
        if (quoted_.size() < keep_) quoted_ += c;
    }

    bool store(std::size_t k, std::string_view value, bool quoted) {
        if (integers_only_) {
            std::int64_t v = 0;
            if (quoted || !parse_integer_field(value, v) || v < range_.min || v > range_.max) return false;
            integers_[k] = v;
            return true;
        }
        const FreeTarget& t = targets_[k];
        if (t.integer != nullptr) {
            std::int64_t v = 0;
            if (quoted || !parse_integer_field(value, v)) return false;
            *t.integer = v;
        } else if (t.text != nullptr) {
            *t.text = fixed(value, t.length);
        }
        return true;
    }

    RecordSource& in_;
    std::span<FreeTarget> targets_;     // integer and character targets, or
    std::span<std::int64_t> integers_;  // integer targets within range_
    IntegerRange range_;
    std::size_t count_;
    bool integers_only_ = false;
    std::size_t keep_ = 0;  // characters of a quoted value worth keeping
    std::string quoted_;
    std::string record_;
    std::size_t pos_ = 0;
    int status_ = kReadOk;
    bool have_record_ = false;
};

}  // namespace

int read_free_format(RecordSource& in, std::span<FreeTarget> targets) { return FreeReader(in, targets).run(); }

int read_free_format(RecordSource& in, std::span<std::int64_t> targets, IntegerRange range) {
    return FreeReader(in, targets, range).run();
}

}  // namespace marvist
