// The free-format reader: values separated by blanks, tabs, commas or record
// ends, with repeat counts (r*v), null values (",," and r*) and '/' to end.
#include <string>
#include <vector>

#include "base/fixed_text.h"
#include "base/integer_text.h"
#include "base/layout.h"

namespace marvist {
namespace {

bool separator(char c) { return c == ' ' || c == '\t' || c == ',' || c == '/'; }
bool digit(char c) { return c >= '0' && c <= '9'; }

class FreeReader {
public:
    FreeReader(RecordSource& in, std::span<FreeTarget> targets) : in_(in), targets_(targets) {}

    int run() {
        if (!next_record()) return status_;
        std::size_t k = 0;
        bool after_comma = true;  // a comma here gives a null value
        while (k < targets_.size()) {
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

            std::uint64_t repeat = 1;
            if (!repeat_prefix(repeat)) return kReadInputError;
            after_comma = false;
            const std::size_t copies =
                repeat < targets_.size() - k ? static_cast<std::size_t>(repeat) : targets_.size() - k;
            if (pos_ >= record_.size() && in_.truncated()) return kReadInputError;  // cut after "r*"
            if (pos_ >= record_.size() || separator(record_[pos_])) {
                k += copies;  // r* : r null values
                continue;
            }
            std::string value;
            bool quoted = false;
            const int s = token(value, quoted);
            if (s != kReadOk) return s;
            for (std::size_t c2 = 0; c2 < copies; ++c2, ++k) {
                if (!store(targets_[k], value, quoted)) return kReadInputError;
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
    // if need be) or running to the next separator.
    int token(std::string& value, bool& quoted) {
        const char q = record_[pos_];
        if (q != '\'' && q != '"') {
            const std::size_t start = pos_;
            while (pos_ < record_.size() && !separator(record_[pos_])) ++pos_;
            if (pos_ == record_.size() && in_.truncated()) return kReadInputError;  // cut inside the value
            value.assign(record_, start, pos_ - start);
            return kReadOk;
        }
        quoted = true;
        ++pos_;
        for (;;) {
            if (pos_ >= record_.size()) {
                if (!next_record()) return status_;
                continue;
            }
            const char c = record_[pos_++];
            if (c == q) {
                if (pos_ < record_.size() && record_[pos_] == q) {
                    value += q;
                    ++pos_;
                    continue;
                }
                break;
            }
            value += c;
        }
        // A closing quote must be followed by a separator or the record end.
        if (pos_ < record_.size() && !separator(record_[pos_])) return kReadInputError;
        return kReadOk;
    }

    static bool store(const FreeTarget& t, const std::string& value, bool quoted) {
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
    std::span<FreeTarget> targets_;
    std::string record_;
    std::size_t pos_ = 0;
    int status_ = kReadOk;
    bool have_record_ = false;
};

}  // namespace

int read_free_format(RecordSource& in, std::span<FreeTarget> targets) { return FreeReader(in, targets).run(); }

int read_free_format(RecordSource& in, std::span<std::int64_t> targets) {
    std::vector<FreeTarget> t(targets.size());
    for (std::size_t k = 0; k < targets.size(); ++k) t[k].integer = &targets[k];
    return read_free_format(in, t);
}

}  // namespace marvist
