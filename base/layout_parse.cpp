// Parsing of layout texts into item trees, and the cache of the system's own
// layouts.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

#include "base/cp437.h"
#include "base/layout.h"
#include "base/layout_tree.h"

namespace marvist {
namespace {

constexpr std::int32_t kMaxNumber = 99'999'999;  // widths, counts and repeats
constexpr std::int32_t kMaxDecimals = 99;
constexpr int kMaxDepth = 64;

class Parser {
public:
    explicit Parser(std::string_view text) : s_(text) {}

    LayoutTree parse() {
        skip_blanks();
        if (!take('(')) fail("a layout must begin with '('");
        parse_list(0);
        // The text after the closing parenthesis is not part of the layout.
        finish();
        return std::move(tree_);
    }

private:
    using Kind = LayoutItem::Kind;

    [[noreturn]] void fail(const std::string& why) const {
        throw LayoutError("layout error at position " + std::to_string(pos_ + 1) + ": " + why + " in \"" +
                          std::string(s_) + "\"");
    }

    static bool blank(char c) { return c == ' ' || c == '\t'; }
    void skip_blanks() {
        while (pos_ < s_.size() && blank(s_[pos_])) ++pos_;
    }
    // The next character that is not a blank, or '\0' at the end of the text.
    char peek() {
        skip_blanks();
        return pos_ < s_.size() ? s_[pos_] : '\0';
    }
    bool take(char c) {
        if (peek() != c) return false;
        ++pos_;
        return true;
    }
    static bool digit(char c) { return c >= '0' && c <= '9'; }

    // A decimal number; blanks between its digits are ignored.
    std::int32_t number(std::int32_t limit) {
        if (!digit(peek())) fail("a number is expected");
        std::int64_t v = 0;
        while (digit(peek())) {
            v = v * 10 + (s_[pos_] - '0');
            if (v > limit) fail("number too large");
            ++pos_;
        }
        return static_cast<std::int32_t>(v);
    }

    // Items up to the ')' that closes the list; depth 0 is the whole layout.
    void parse_list(int depth) {
        bool first = true;
        for (;;) {
            char c = peek();
            if (c == ')') {
                ++pos_;
                return;
            }
            if (!first) {
                if (c == ',') {
                    ++pos_;
                    c = peek();
                    if (c == ',' || c == ')') fail("empty item");
                }
            } else if (c == ',') {
                fail("empty item");
            }
            first = false;
            if (c == '\0') fail("missing ')'");
            parse_item(depth);
        }
    }

    void parse_item(int depth) {
        const char c = peek();
        if (c == '\'') {
            literal();
            return;
        }
        if (c == ':') {
            ++pos_;
            add(Kind::Colon);
            return;
        }
        if (c == '$') {
            ++pos_;
            if (depth != 0 || peek() != ')') fail("'$' must be the last item");
            tree_.ends_record = false;
            return;
        }
        std::int32_t count = 1;
        const bool counted = digit(c);
        if (counted) {
            count = number(kMaxNumber);
            if (count < 1) fail("a count must be at least 1");
        }
        const char d = peek();
        switch (d) {
            case '(': {
                ++pos_;
                if (depth + 1 >= kMaxDepth) fail("groups nested too deeply");
                const std::size_t g = tree_.items.size();
                add(Kind::Group).repeat = count;
                parse_list(depth + 1);
                tree_.items[g].end = static_cast<std::uint32_t>(tree_.items.size());
                if (depth == 0) tree_.reversion = static_cast<std::uint32_t>(g);
                return;
            }
            case '/':
                ++pos_;
                add(Kind::Slash).repeat = count;
                return;
            case 'X':
            case 'x':
                ++pos_;
                add(Kind::Skip).width = count;
                return;
            case 'I':
            case 'i': {
                ++pos_;
                LayoutItem& it = add(Kind::Integer);
                it.repeat = count;
                it.width = width();
                if (take('.')) {
                    it.digits = number(kMaxNumber);
                    if (it.digits > it.width) fail("Iw.m needs m <= w");
                }
                return;
            }
            case 'F':
            case 'f': {
                ++pos_;
                LayoutItem& it = add(Kind::Real);
                it.repeat = count;
                it.width = width();
                if (!take('.')) fail("Fw.d needs its decimals");
                it.digits = number(kMaxDecimals);
                return;
            }
            case 'A':
            case 'a': {
                ++pos_;
                LayoutItem& it = add(Kind::Text);
                it.repeat = count;
                if (digit(peek())) it.width = width();
                return;
            }
            default:
                if (d == '\0') fail("missing ')'");
                if (counted && (d == '\'' || d == ':' || d == '$' || d == ')' || d == ','))
                    fail("a count must precede a group, '/' or a descriptor");
                fail(std::string("unknown item '") + d + "'");
        }
    }

    std::int32_t width() {
        const std::int32_t w = number(kMaxNumber);
        if (w < 1) fail("a width must be at least 1");
        return w;
    }

    void literal() {
        ++pos_;  // the opening apostrophe
        std::string raw;
        for (;;) {
            if (pos_ >= s_.size()) fail("unterminated literal");
            const char c = s_[pos_++];
            if (c == '\'') {
                if (pos_ < s_.size() && s_[pos_] == '\'') {
                    raw += '\'';
                    ++pos_;
                    continue;
                }
                break;
            }
            raw += c;
        }
        const std::string bytes = utf8_to_cp437(raw);
        LayoutItem& it = add(Kind::Literal);
        it.first = static_cast<std::uint32_t>(tree_.text.size());
        it.length = static_cast<std::uint32_t>(bytes.size());
        tree_.text += bytes;
    }

    LayoutItem& add(Kind kind) {
        LayoutItem it;
        it.kind = kind;
        tree_.items.push_back(it);
        return tree_.items.back();
    }

    static std::int64_t saturating_mul(std::int64_t a, std::int64_t b) {
        constexpr std::int64_t max = std::numeric_limits<std::int64_t>::max();
        if (a != 0 && b > max / a) return max;
        return a * b;
    }
    static std::int64_t saturating_add(std::int64_t a, std::int64_t b) {
        constexpr std::int64_t max = std::numeric_limits<std::int64_t>::max();
        return a > max - b ? max : a + b;
    }

    // Data items in one pass over [b, e); marks the groups that hold data.
    std::int64_t count_data(std::uint32_t b, std::uint32_t e) {
        std::int64_t n = 0;
        for (std::uint32_t i = b; i < e;) {
            LayoutItem& it = tree_.items[i];
            switch (it.kind) {
                case Kind::Group: {
                    const std::int64_t inner = count_data(i + 1, it.end);
                    it.has_data = inner > 0;
                    n = saturating_add(n, saturating_mul(inner, it.repeat));
                    i = it.end;
                    continue;
                }
                case Kind::Integer:
                    tree_.has_integer = true;
                    n = saturating_add(n, it.repeat);
                    break;
                case Kind::Real:
                    tree_.has_real = true;
                    n = saturating_add(n, it.repeat);
                    break;
                case Kind::Text:
                    tree_.has_text = true;
                    n = saturating_add(n, it.repeat);
                    break;
                case Kind::Literal:
                    tree_.has_literal = true;
                    break;
                default:
                    break;
            }
            ++i;
        }
        return n;
    }

    void finish() {
        const auto n = static_cast<std::uint32_t>(tree_.items.size());
        tree_.data_per_pass = count_data(0, n);
        tree_.has_data = tree_.data_per_pass > 0;
        tree_.reversion_has_data = false;
        for (std::uint32_t i = tree_.reversion; i < n; ++i) {
            const Kind k = tree_.items[i].kind;
            if (k == Kind::Integer || k == Kind::Real || k == Kind::Text) tree_.reversion_has_data = true;
        }
    }

    std::string_view s_;
    std::size_t pos_ = 0;
    LayoutTree tree_;
};

}  // namespace

Layout Layout::parse(std::string_view text) {
    Layout layout;
    layout.tree_ = std::make_shared<const LayoutTree>(Parser(text).parse());
    return layout;
}

bool Layout::has_data_descriptor() const { return tree_ && tree_->has_data; }

}  // namespace marvist
