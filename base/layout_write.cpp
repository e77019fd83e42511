// The writing engine: a value list through a layout into records.
#include <algorithm>
#include <charconv>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>

#include "base/layout.h"
#include "base/layout_tree.h"
#include "base/number_format.h"

namespace marvist {
namespace {

using Kind = LayoutItem::Kind;

// A record being built: a byte buffer that grows as needed and is not
// filled when it grows, since every byte of a record is written before the
// record is handed on.
class RecordText {
public:
    // n more bytes at the end, to be written by the caller.
    char* extend(std::size_t n) {
        if (n > capacity_ - size_) reserve(size_ + n);
        char* at = data_.get() + size_;
        size_ += n;
        return at;
    }
    void append(std::string_view s) {
        if (!s.empty()) std::memcpy(extend(s.size()), s.data(), s.size());
    }
    void append_blanks(std::size_t n) { std::memset(extend(n), ' ', n); }
    std::string_view view() const { return {data_.get(), size_}; }
    void clear() { size_ = 0; }

private:
    void reserve(std::size_t needed) {
        const std::size_t capacity = std::max({needed, 2 * capacity_, std::size_t{256}});
        auto larger = std::make_unique_for_overwrite<char[]>(capacity);
        if (size_ > 0) std::memcpy(larger.get(), data_.get(), size_);
        data_ = std::move(larger);
        capacity_ = capacity;
    }

    std::unique_ptr<char[]> data_;
    std::size_t size_ = 0, capacity_ = 0;
};

class Writer {
public:
    Writer(RecordSink& out, const LayoutTree& tree, std::span<const Value> values, RecordText& record)
        : out_(out), tree_(tree), values_(values), record_(record) {}

    void run() {
        const auto n = static_cast<std::uint32_t>(tree_.items.size());
        if (static_cast<std::int64_t>(values_.size()) > tree_.data_per_pass && !tree_.reversion_has_data) {
            throw std::logic_error("layout without data items given more values than it can write");
        }
        bool more = walk(0, n);
        while (more && next_ < values_.size()) {
            // Reversion: a new record, from the last top-level group on.
            emit(true);
            more = walk(tree_.reversion, n);
        }
        emit(tree_.ends_record);
    }

private:
    void emit(bool complete) {
        out_.put_record(record_.view(), complete);
        record_.clear();
    }

    char* grow(int w) { return record_.extend(static_cast<std::size_t>(w)); }

    const Value& take(Value::Kind kind) {
        const Value& v = values_[next_++];
        if (v.kind() != kind) throw std::logic_error("value does not match its layout item");
        return v;
    }

    void put_text(const LayoutItem& it, std::string_view s) {
        if (it.width == 0) {
            record_.append(s);
        } else if (s.size() >= static_cast<std::size_t>(it.width)) {
            record_.append(s.substr(0, static_cast<std::size_t>(it.width)));
        } else {
            record_.append_blanks(static_cast<std::size_t>(it.width) - s.size());
            record_.append(s);
        }
    }

    // Items [b, e) once; false when the values ran out at a data item or ':'.
    bool walk(std::uint32_t b, std::uint32_t e) {
        const std::size_t count = values_.size();
        for (std::uint32_t i = b; i < e;) {
            const LayoutItem& it = tree_.items[i];
            switch (it.kind) {
                case Kind::Literal:
                    record_.append(std::string_view(tree_.text.data() + it.first, it.length));
                    break;
                case Kind::Slash:
                    for (std::int32_t r = 0; r < it.repeat; ++r) emit(true);
                    break;
                case Kind::Skip:
                    record_.append_blanks(static_cast<std::size_t>(it.width));
                    break;
                case Kind::Colon:
                    if (next_ == count) return false;
                    break;
                case Kind::Integer:
                    for (std::int32_t r = 0; r < it.repeat; ++r) {
                        if (next_ == count) return false;
                        format_integer(grow(it.width), it.width, it.digits, take(Value::Kind::Integer).integer());
                    }
                    break;
                case Kind::Real:
                    for (std::int32_t r = 0; r < it.repeat; ++r) {
                        if (next_ == count) return false;
                        format_real(grow(it.width), it.width, it.digits, take(Value::Kind::Real).real());
                    }
                    break;
                case Kind::Text:
                    for (std::int32_t r = 0; r < it.repeat; ++r) {
                        if (next_ == count) return false;
                        put_text(it, take(Value::Kind::Text).text());
                    }
                    break;
                case Kind::Group:
                    for (std::int32_t r = 0; r < it.repeat; ++r) {
                        // A group that writes values is not begun once they have run out.
                        if (it.has_data && next_ == count) return false;
                        if (!walk(i + 1, it.end)) return false;
                    }
                    i = it.end;
                    continue;
            }
            ++i;
        }
        return true;
    }

    RecordSink& out_;
    const LayoutTree& tree_;
    std::span<const Value> values_;
    RecordText& record_;
    std::size_t next_ = 0;
};

// One record buffer per thread, reused from call to call; a nested call (a
// sink that writes while receiving) gets a buffer of its own.
class RecordBuffer {
public:
    RecordBuffer() : nested_(in_use_) {
        in_use_ = true;
        if (!nested_) shared_.clear();
    }
    ~RecordBuffer() {
        if (!nested_) in_use_ = false;
    }
    RecordBuffer(const RecordBuffer&) = delete;
    RecordBuffer& operator=(const RecordBuffer&) = delete;
    RecordText& get() { return nested_ ? own_ : shared_; }

private:
    static thread_local RecordText shared_;
    static thread_local bool in_use_;
    bool nested_;
    RecordText own_;
};
thread_local RecordText RecordBuffer::shared_;
thread_local bool RecordBuffer::in_use_ = false;

// Keeps the first record only.
class FirstRecord : public RecordSink {
public:
    void put_record(std::string_view record, bool) override {
        if (!seen_) text.assign(record);
        seen_ = true;
    }
    std::string text;

private:
    bool seen_ = false;
};

}  // namespace

void write_records(RecordSink& out, const Layout& layout, std::span<const Value> values) {
    RecordBuffer buffer;
    Writer(out, layout.tree(), values, buffer.get()).run();
}

void write_records(RecordSink& out, std::string_view layout, std::initializer_list<Value> values) {
    write_records(out, cached_layout(layout), std::span<const Value>(values.begin(), values.size()));
}

std::string write_to_buffer(const Layout& layout, std::span<const Value> values, std::size_t length) {
    FirstRecord first;
    write_records(first, layout, values);
    first.text.resize(length, ' ');
    return std::move(first.text);
}

std::string write_to_buffer(std::string_view layout, std::initializer_list<Value> values, std::size_t length) {
    return write_to_buffer(cached_layout(layout), std::span<const Value>(values.begin(), values.size()), length);
}

std::string free_form_record(std::initializer_list<Value> values) {
    std::string record = " ";
    bool after_value = false;
    char digits[32];
    for (const Value& v : values) {
        switch (v.kind()) {
            case Value::Kind::Integer: {
                if (after_value) record += ' ';
                record.append(digits, std::to_chars(digits, digits + sizeof digits, v.integer()).ptr);
                break;
            }
            case Value::Kind::Real: {
                if (after_value) record += ' ';
                // Shortest form that reads back to the same double.
                record.append(digits, std::to_chars(digits, digits + sizeof digits, v.real()).ptr);
                break;
            }
            case Value::Kind::Text:
                record.append(v.text());
                break;
        }
        after_value = true;
    }
    return record;
}

}  // namespace marvist
