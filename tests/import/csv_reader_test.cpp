// The RFC 4180 reader: what it reads, where it says it failed, and that the
// blocks the bytes arrive in change nothing.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "import/csv_reader.h"

namespace marvist {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// Gives its bytes `step` at a time: records and characters cut anywhere.
class TricklingBytes : public ByteSource {
public:
    TricklingBytes(std::string_view bytes, std::size_t step) : bytes_(bytes), step_(step) {}
    std::size_t read(char* into, std::size_t max) override {
        const std::size_t n = std::min({max, step_, bytes_.size()});
        std::copy_n(bytes_.data(), n, into);
        bytes_.remove_prefix(n);
        return n;
    }

private:
    std::string_view bytes_;
    std::size_t step_;
};

struct Read {
    Rows rows;
    std::vector<std::int64_t> lines;
    bool failed = false;
    CsvError error;
};

Read read_all(std::string_view text, char delimiter = ',', std::size_t step = 1 << 20) {
    TricklingBytes bytes(text, step);
    CsvReader reader(bytes, delimiter);
    Read read;
    CsvRecord record;
    while (reader.next(record)) {
        read.rows.emplace_back(record.fields.begin(), record.fields.end());
        read.lines.push_back(record.line);
    }
    read.failed = reader.has_error();
    read.error = reader.error();
    return read;
}

TEST(CsvReader, QuotedFieldsHoldDelimitersQuotesAndLineBreaks) {
    const Read read = read_all("name,\"note, with comma\"\r\n\"say \"\"hi\"\"\",\"two\r\nlines\"\r\n\"\",x,\n");
    ASSERT_FALSE(read.failed) << read.error.message;
    EXPECT_EQ(read.rows, (Rows{{"name", "note, with comma"}, {"say \"hi\"", "two\r\nlines"}, {"", "x", ""}}));
    EXPECT_EQ(read.lines, (std::vector<std::int64_t>{1, 2, 4}));

    const Read tabs = read_all("a\tb;c\t\"d\te\"\n", '\t');
    EXPECT_EQ(tabs.rows, (Rows{{"a", "b;c", "d\te"}}));
    const Read semis = read_all("a;b,c;\"d;e\"", ';');
    EXPECT_EQ(semis.rows, (Rows{{"a", "b,c", "d;e"}})) << "the last record needs no line end";
}

TEST(CsvReader, ByteOrderMarkEmptyLinesAndLineEnds) {
    const std::string bom = "\xEF\xBB\xBF";
    const Read read = read_all(bom + "a,b\r\n\r\n\nc,d\n\n");
    EXPECT_EQ(read.rows, (Rows{{"a", "b"}, {"c", "d"}}));
    EXPECT_EQ(read.lines, (std::vector<std::int64_t>{1, 4}));
    const std::string marked = bom + "x\r\n";
    MemoryBytes bytes(marked);
    CsvReader reader(bytes, ',');
    CsvRecord record;
    ASSERT_TRUE(reader.next(record));
    EXPECT_TRUE(reader.had_byte_order_mark());
    EXPECT_TRUE(reader.saw_crlf());
    EXPECT_EQ(read_all(bom).rows, Rows{});
    EXPECT_EQ(read_all("\"\"\n").rows, (Rows{{""}})) << "a quoted empty field is a record, not an empty line";
    EXPECT_EQ(read_all("caf\xC3\xA9,\xF0\x9F\x98\x80\n").rows, (Rows{{"caf\xC3\xA9", "\xF0\x9F\x98\x80"}}));
}

TEST(CsvReader, BadInputNamesLineFieldAndWhatWasExpected) {
    struct Case {
        std::string text;
        std::int64_t line;
        int field;
        std::string expected;  // part of the message
    };
    const std::vector<Case> cases = {
        {"a,b\nc,d\"e\n", 2, 2, "a double quote inside a field that does not begin with one"},
        {"a,\"b\"c\n", 1, 2, "after the closing double quote"},
        {"a,b\nc,\"d\ne,f\n", 2, 2, "expected a closing double quote"},
        {"a\rb\n", 1, 1, "a carriage return not followed by a line feed"},
        {"a,b\n\"x\ny\",caf\xE9\n", 3, 2, "not UTF-8 (0xE9)"},
        {"a,\xC0\xAF\n", 1, 2, "not UTF-8"},              // overlong '/'
        {"a,\xED\xA0\x80\n", 1, 2, "not UTF-8"},          // a surrogate
        {"a,\xF4\x90\x80\x80\n", 1, 2, "not UTF-8"},      // beyond U+10FFFF
        {"a,\xE2\x82", 1, 2, "not UTF-8"},                // cut by the end of the file
        {"\xFF\xFE" "a\0,\0", 1, 1, "UTF-16"},
    };
    for (const Case& c : cases) {
        for (std::size_t step : {std::size_t{1}, std::size_t{1} << 20}) {
            const Read read = read_all(c.text, ',', step);
            ASSERT_TRUE(read.failed) << c.text;
            EXPECT_EQ(read.error.line, c.line) << c.text;
            EXPECT_EQ(read.error.field, c.field) << c.text;
            EXPECT_NE(read.error.message.find(c.expected), std::string::npos) << read.error.message;
            EXPECT_NE(read.error.message.find("expected"), std::string::npos) << read.error.message;
        }
    }
}

// Random fields written as RFC 4180 come back the same, whatever the blocks
// the bytes arrive in and whatever the delimiter.
TEST(CsvReader, RandomTablesSurviveAnyBlockSize) {
    std::mt19937 random(20261207);
    const std::vector<std::string> pieces = {"a", "Zz", " ", ",", ";", "\t", "\"", "\r\n", "\n",
                                             "\xC3\xA9", "\xE2\x94\x80", "\xF0\x9F\x98\x80", "12"};
    for (int round = 0; round < 200; ++round) {
        const char delimiter = ",;\t"[round % 3];
        Rows rows(1 + random() % 6);
        std::string text = round % 2 ? "\xEF\xBB\xBF" : "";
        for (auto& row : rows) {
            row.resize(1 + random() % 5);
            for (std::size_t f = 0; f < row.size(); ++f) {
                for (std::size_t k = random() % 4; k > 0; --k) row[f] += pieces[random() % pieces.size()];
                const bool needs_quotes = row[f].find_first_of(std::string("\"\r\n") + delimiter) != std::string::npos;
                if (row.size() == 1 && row[f].empty()) row[f].push_back('x');  // not an empty line
                if (f > 0) text += delimiter;
                if (needs_quotes || random() % 4 == 0) {
                    text += '"';
                    for (char c : row[f]) text += c == '"' ? std::string("\"\"") : std::string(1, c);
                    text += '"';
                } else {
                    text += row[f];
                }
            }
            text += random() % 2 ? "\r\n" : "\n";
        }
        for (std::size_t step : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{7}, std::size_t{4096}}) {
            const Read read = read_all(text, delimiter, step);
            ASSERT_FALSE(read.failed) << read.error.message;
            ASSERT_EQ(read.rows, rows) << "round " << round << ", blocks of " << step;
        }
    }
}

TEST(CsvReader, RecordsBeyondTheFirstBufferAndTheLongestRecord) {
    // A record larger than the first read buffer is kept whole.
    const std::string big(3 << 20, 'x');
    const Read read = read_all("a,\"" + big + "\"\nb,c\n", ',', 1 << 16);
    ASSERT_EQ(read.rows.size(), 2u);
    EXPECT_EQ(read.rows[0][1].size(), big.size());
    EXPECT_EQ(read.lines[1], 2);

    // A double quote left open does not make the reader keep the whole file.
    std::string endless = "a,\"";
    endless.append(kMaxCsvRecord + 10, 'y');
    const Read open = read_all(endless);
    ASSERT_TRUE(open.failed);
    EXPECT_NE(open.error.message.find("longer than 64 MiB"), std::string::npos);
}

}  // namespace
}  // namespace marvist
