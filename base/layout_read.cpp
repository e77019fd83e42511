// Reading records through a layout: Iw fields into integers, Aw fields into
// character targets. Reading reports a status and never throws or loops.
#include <string>

#include "base/integer_text.h"
#include "base/layout.h"
#include "base/layout_tree.h"

namespace marvist {
namespace {

using Kind = LayoutItem::Kind;

enum class Step { Go, Done, Fail };

// Items a read may visit besides 64 per target: ample for any real layout.
constexpr std::uint64_t kBaseSteps = 10'000'000;

// Walks the layout over the records of a source; Target supplies the field
// kind it accepts and stores one field into target k.
template <class Target>
class Reader {
public:
    Reader(RecordSource& in, const LayoutTree& tree, Target& target, std::size_t count)
        : in_(in), tree_(tree), target_(target), remaining_(count), steps_left_(kBaseSteps + 64 * count) {}

    int run() {
        if (!next_record()) return status_;
        if (remaining_ == 0) return kReadOk;
        const auto n = static_cast<std::uint32_t>(tree_.items.size());
        Step s = walk(0, n);
        while (s == Step::Go && remaining_ > 0) {
            // Reversion: the next record, from the last top-level group on.
            if (!next_record()) return status_;
            s = walk(tree_.reversion, n);
        }
        return s == Step::Fail ? status_ : kReadOk;
    }

private:
    bool next_record() {
        pos_ = 0;
        if (in_.next_record(record_)) return true;
        status_ = in_.failed() ? kReadInputError : kReadEndOfFile;
        return false;
    }

    // The next w characters of the record; those past its end count as blanks.
    std::string_view field(std::size_t width) {
        std::string_view f;
        if (pos_ < record_.size()) f = std::string_view(record_).substr(pos_, width);
        pos_ += width;
        return f;
    }

    // Nested repeat counts of groups that read nothing could keep a read busy
    // for hours; a layout that needs more steps than this cannot be applied.
    bool spend() {
        if (steps_left_ == 0) {
            status_ = kReadInputError;
            return false;
        }
        --steps_left_;
        return true;
    }

    Step walk(std::uint32_t b, std::uint32_t e) {
        for (std::uint32_t i = b; i < e;) {
            if (!spend()) return Step::Fail;
            const LayoutItem& it = tree_.items[i];
            switch (it.kind) {
                case Kind::Slash:
                    for (std::int32_t r = 0; r < it.repeat; ++r) {
                        if (!next_record()) return Step::Fail;
                    }
                    break;
                case Kind::Skip:
                    pos_ += static_cast<std::size_t>(it.width);
                    break;
                case Kind::Colon:
                    if (remaining_ == 0) return Step::Done;
                    break;
                case Kind::Integer:
                case Kind::Text:
                case Kind::Real:
                    // The read ends at the first data item after the last value.
                    if (remaining_ == 0) return Step::Done;
                    for (std::int32_t r = 0; r < it.repeat; ++r) {
                        const std::size_t w = it.width > 0 ? static_cast<std::size_t>(it.width) : target_.length(next_);
                        if (pos_ + w > record_.size() && in_.truncated()) {
                            status_ = kReadInputError;  // the field lies past what was kept of the line
                            return Step::Fail;
                        }
                        const std::string_view f = field(w);
                        if (!target_.store(next_, f, w)) {
                            status_ = kReadInputError;
                            return Step::Fail;
                        }
                        ++next_;
                        // After the last value, '/' and nX are still acted on
                        // up to the next data item, a ':' or the end of the layout.
                        if (--remaining_ == 0 && r + 1 < it.repeat) return Step::Done;
                    }
                    break;
                case Kind::Literal:
                    // Refused before reading; kept harmless here.
                    status_ = kReadInputError;
                    return Step::Fail;
                case Kind::Group:
                    for (std::int32_t r = 0; r < it.repeat; ++r) {
                        if (!spend()) return Step::Fail;
                        const Step s = walk(i + 1, it.end);
                        if (s != Step::Go) return s;
                    }
                    i = it.end;
                    continue;
            }
            ++i;
        }
        return Step::Go;
    }

    RecordSource& in_;
    const LayoutTree& tree_;
    Target& target_;
    std::size_t remaining_;
    std::size_t next_ = 0;
    std::string record_;
    std::size_t pos_ = 0;
    int status_ = kReadOk;
    std::uint64_t steps_left_;
};

// True when the layout can fill count targets with its data items: one pass
// holds enough of them, or the part that reversion repeats holds some.
bool enough_data(const LayoutTree& tree, std::size_t count) {
    if (count == 0) return true;
    if (static_cast<std::uint64_t>(tree.data_per_pass) >= count) return true;
    return tree.reversion_has_data;
}

struct IntegerTargets {
    std::span<std::int64_t> values;
    IntegerRange range;
    std::size_t length(std::size_t) const { return 0; }
    // A value outside the range fails the read at once.
    bool store(std::size_t k, std::string_view f, std::size_t) {
        std::int64_t v = 0;
        if (!parse_integer_field(f, v) || v < range.min || v > range.max) return false;
        values[k] = v;
        return true;
    }
};

struct CharacterTargets {
    std::span<std::string> values;
    std::size_t length(std::size_t k) const { return values[k].size(); }
    // w characters into a target of length L: the rightmost L when w >= L,
    // otherwise the w characters followed by blanks.
    bool store(std::size_t k, std::string_view f, std::size_t w) {
        // f holds the characters of the field that the record has; the rest
        // of the w are blanks.
        std::string& t = values[k];
        const std::size_t len = t.size();
        const std::size_t from = w >= len ? w - len : 0;
        for (std::size_t c = 0; c < len; ++c) {
            const std::size_t at = from + c;
            t[c] = at < f.size() && at < w ? f[at] : ' ';
        }
        return true;
    }
};

}  // namespace

int read_integers(RecordSource& in, const Layout& layout, std::span<std::int64_t> targets, IntegerRange range) {
    const LayoutTree& tree = layout.tree();
    if (tree.has_literal || tree.has_real || tree.has_text || !tree.ends_record ||
        !enough_data(tree, targets.size())) {
        return kReadInputError;
    }
    IntegerTargets t{targets, range};
    return Reader<IntegerTargets>(in, tree, t, targets.size()).run();
}

int read_characters(RecordSource& in, const Layout& layout, std::span<std::string> targets) {
    const LayoutTree& tree = layout.tree();
    if (tree.has_literal || tree.has_real || tree.has_integer || !tree.ends_record ||
        !enough_data(tree, targets.size())) {
        return kReadInputError;
    }
    CharacterTargets t{targets};
    return Reader<CharacterTargets>(in, tree, t, targets.size()).run();
}

}  // namespace marvist
