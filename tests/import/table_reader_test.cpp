// Tables read from CSV text: detection of delimiter and shape, the three
// shapes of one table, the order of categories, and the bad input that
// stops a read.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "import/category_index.h"
#include "import/csv_sniff.h"
#include "import/table_reader.h"

namespace marvist {
namespace {

using Names = std::vector<std::string>;
using Counts = std::vector<std::int32_t>;

TableReadResult read_text(const std::string& text, TableReadOptions options = {}) {
    MemoryBytes bytes(text);
    return read_count_table(bytes, options);
}

std::optional<char> delimiter_of(const std::string& text) { return detect_delimiter(text, true).value; }

TEST(CsvDetection, DelimiterIsTheOneThatSplitsEveryLineAlike) {
    EXPECT_EQ(delimiter_of("a,b,c\nx,1,2\n"), ',');
    EXPECT_EQ(delimiter_of("a;b;c\nx;1,5;2\n"), ';') << "a comma inside a field does not count";
    EXPECT_EQ(delimiter_of("a\tb\tc\nx\t1\t2\n"), '\t');
    EXPECT_EQ(delimiter_of("\"a;b\",c\n\"x;y\",2\n"), ',') << "a delimiter inside quotes does not count";
    EXPECT_EQ(delimiter_of("b;c\nx;1;2\ny;3;4\n"), ';') << "a wide header without its corner cell";
    EXPECT_EQ(delimiter_of("a,b;c\nd,e;f\n"), std::nullopt) << "comma and semicolon both give two fields";
    EXPECT_EQ(delimiter_of("just text\nmore\n"), std::nullopt);
    EXPECT_EQ(delimiter_of("a;b;c\nx;1\n"), ';') << "a ragged table still has its delimiter";
}

TEST(CsvDetection, ShapeIsDetectedOnlyWhereItIsClear) {
    auto shape_of = [](const std::string& text, TableColumns columns = {}) {
        return detect_shape(sample_records(text, true, ',', kSampleRecords), columns).value;
    };
    EXPECT_EQ(shape_of(",a,b,c\nx,1,2,3\ny,4,5,6\n"), TableShape::Wide);
    EXPECT_EQ(shape_of("r,c,n\nx,a,1\ny,b,2\n"), TableShape::Long);
    EXPECT_EQ(shape_of("r,c\nx,a\ny,b\n"), TableShape::Records);
    EXPECT_EQ(shape_of("r,c,n\nx,1,1\ny,2,2\n"), std::nullopt) << "a wide 2-column table or a long one";
    EXPECT_EQ(shape_of("id,r,age\n1,x,30\n2,y,40\n"), std::nullopt) << "records of an id, or a long table";
    EXPECT_EQ(shape_of("id,r,c,w\n1,x,a,q\n"), std::nullopt) << "which two of four columns?";
    EXPECT_EQ(shape_of("id,r,c,w\n1,x,a,q\n", {"r", "c", ""}), TableShape::Records);
    EXPECT_EQ(shape_of("id,r,c,w\n1,x,a,7\n", {"r", "c", "w"}), TableShape::Long);
    EXPECT_EQ(shape_of("r,c,n\n"), std::nullopt) << "a header alone";
}

// One 3 x 4 table with names that need quoting, a BOM, CRLF, and a count
// of zero, given in each shape and with each delimiter.
TEST(CountTables, TheThreeShapesOfOneTableReadAlike) {
    const Names rows = {"Île, north", "\"Quoted\" row", "Third"};
    const Names cols = {"A", "B b", "C;c", "D"};
    const Counts counts = {3, 0, 1, 2, 1, 1, 4, 0, 2, 5, 1, 1};
    auto field = [](const std::string& s) {
        std::string q = "\"";
        for (char c : s) q += c == '"' ? std::string("\"\"") : std::string(1, c);
        return q + "\"";
    };
    for (char d : {',', ';', '\t'}) {
        const std::string sep(1, d);
        std::string wide = "\xEF\xBB\xBFregion\\letter";
        for (const auto& c : cols) wide += sep + field(c);
        wide += "\r\n";
        std::string long_text = "region" + sep + "letter" + sep + "n\r\n";
        std::string records = "id" + sep + "region" + sep + "letter\n";
        int id = 0;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            wide += field(rows[i]);
            for (std::size_t j = 0; j < cols.size(); ++j) {
                const int n = counts[i * cols.size() + j];
                wide += sep + " " + std::to_string(n) + " ";
                long_text += field(rows[i]) + sep + field(cols[j]) + sep + std::to_string(n) + "\r\n";
                for (int k = 0; k < n; ++k) records += std::to_string(++id) + sep + field(rows[i]) + sep + field(cols[j]) + "\n";
            }
            wide += "\r\n";
        }
        TableReadOptions by_name;
        by_name.columns = {"region", "letter", ""};
        for (const auto& [text, options, shape] :
             {std::tuple{wide, TableReadOptions{}, TableShape::Wide},
              std::tuple{long_text, TableReadOptions{}, TableShape::Long},
              std::tuple{records, by_name, TableShape::Records}}) {
            const TableReadResult read = read_text(text, options);
            ASSERT_TRUE(read.ok) << read.error.line << ": " << read.error.message;
            EXPECT_EQ(read.delimiter, d);
            EXPECT_EQ(read.shape, shape);
            EXPECT_EQ(read.table.row_names, rows);
            // Records never show B b in the first row (its count is 0 there),
            // so they meet it after D.
            EXPECT_EQ(read.table.col_names, shape == TableShape::Records ? (Names{"A", "C;c", "D", "B b"}) : cols);
            for (std::size_t i = 0; i < rows.size(); ++i) {
                for (std::size_t j = 0; j < cols.size(); ++j) {
                    const auto at = std::find(cols.begin(), cols.end(), read.table.col_names[j]) - cols.begin();
                    EXPECT_EQ(read.table.at(i, j), counts[i * cols.size() + static_cast<std::size_t>(at)]);
                }
            }
            EXPECT_EQ(read.table.row_variable, "region");
            EXPECT_EQ(read.table.col_variable, "letter");
        }
    }
}

TEST(CountTables, SortedOrderAndCellsAddedUp) {
    TableReadOptions sorted;
    sorted.order = CategoryOrder::Sorted;
    sorted.shape = TableShape::Long;  // numbers as row names: not detected
    const TableReadResult read = read_text("r,c,n\n10,b,1\n9,a,2\n-2,b,3\nx,a,4\n10,b,5\n9,b,0\n", sorted);
    ASSERT_TRUE(read.ok) << read.error.message;
    EXPECT_EQ(read.table.row_names, (Names{"-2", "9", "10", "x"})) << "numbers by value, before other names";
    EXPECT_EQ(read.table.col_names, (Names{"a", "b"}));
    EXPECT_EQ(read.table.counts, (Counts{0, 3, 2, 0, 0, 6, 4, 0})) << "10/b appears twice: 1 + 5";

    EXPECT_EQ(category_order({"b", "a", "B", "\xC3\xA9", "z"}, CategoryOrder::Sorted),
              (std::vector<std::size_t>{2, 1, 0, 4, 3}))
        << "byte order of UTF-8 is code point order: B < a < b < z < e-acute";
    EXPECT_EQ(category_order({"007", "7", "-0", "0"}, CategoryOrder::Sorted), (std::vector<std::size_t>{2, 3, 0, 1}));
}

// Each fault of the input stops the read with the line, the field and what
// was expected.
TEST(CountTables, BadInputIsLocated) {
    struct Case {
        std::string text;
        const TableReadOptions* options;
        std::int64_t line;
        int field;
        std::string says;
    };
    const TableReadOptions detect;
    TableReadOptions long_shape;
    long_shape.shape = TableShape::Long;
    TableReadOptions by_name;
    by_name.columns = {"region", "letter", ""};
    TableReadOptions counted;
    counted.columns = {"r", "c", "n"};
    TableReadOptions unknown_count;
    unknown_count.columns = {"r", "col", "n"};
    TableReadOptions unknown_letter;
    unknown_letter.columns = {"region", "Letter", ""};
    const std::vector<Case> cases = {
        {"", &detect, 1, 1, "the file is empty"},
        {"\xEF\xBB\xBF\n\n", &detect, 1, 1, "the file is empty"},
        {",a,b,c\nx,1,2,3\ny,1,2\nz,1,1,1\n", &detect, 3, 4, "a row of 3 fields; expected 4"},
        {",a,b,c\nx,1,2,3\ny,1,2,3,4\n", &detect, 3, 5, "a row of 5 fields; expected 4"},
        {",a,b,c\nx,1,2.5,3\ny,1,2,3\n", &detect, 2, 3, "found \"2.5\"; expected a count"},
        {",a,b,c\nx,1,-2,3\ny,1,2,3\n", &detect, 2, 3, "a negative number"},
        {",a,b,c\nx,1,2147483648,3\ny,1,2,3\n", &detect, 2, 3, "too large"},
        {",a,b,c\nx,1,,3\ny,1,2,3\n", &detect, 2, 3, "an empty field; expected a count"},
        {",a,b,a\nx,1,2,3\ny,1,2,3\n", &detect, 1, 4, "\"a\" is also field 2"},
        {",a,b,c\nx,0,0,0\ny,1,2,3\n", &detect, 2, 1, "no counts at all"},
        {",a,b,c\nx,1,0,3\ny,1,0,3\n", &detect, 1, 3, "the column \"b\" has no counts at all"},
        {"a,b,c\nx,1,0,3\ny,1,0,3\n", &detect, 1, 2, "the column \"b\" has no counts at all"},
        {",a,b,c\nx,1,2,3\nx,1,2,3\n", &detect, 3, 1, "is also on line 2"},
        {",a,b,c,d\nx,1,2,3\ny,1,2,3\n", &detect, 1, 5, "a header of 5 fields"},
        {",a,b,c\nx,1,2,3\n", &detect, 2, 1, "at least 2 rows"},
        {"r,c,n\nx,a,1\ny,b,2\nz,c\n", &long_shape, 4, 3, "a row of 2 fields; expected 3"},
        {"r,c,n\nx,a,1\ny,b,x\n", &long_shape, 3, 3, "expected a count"},
        {"r,c,n\nx,a,2147483647\nx,a,1\ny,b,1\n", &long_shape, 3, 3, "passes 2147483647"},
        {"r,c,n\nx,a,1\ny,b,0\ny,a,1\n", &long_shape, 3, 2, "the column \"b\" has no counts at all"},
        {"r,c,n\nx,a,1\n,b,1\n", &long_shape, 3, 1, "expected the name of a row category"},
        {"r,c,n\nx,a,1\ny,b,1\n", &counted, 0, 0, ""},  // a good one among the bad
        {"r,c,n\nx,a,1\ny,b,1\n", &unknown_count, 1, 0,
         "no column is named \"col\" (for the column categories); expected one of the header's fields: 1 \"r\", 2 \"c\", 3 \"n\""},
        {"id,region,letter\n1,x,a\n2,y,b\n", &unknown_letter, 1, 0,
         "no column is named \"Letter\""},
        {"id,region,region\n1,x,a\n", &by_name, 1, 3, "two columns are named \"region\""},
        {"id,region,letter\n1,x,a\n2,x,b\n", &by_name, 2, 2, "only one row category"},
        {"id,region,letter\n1,x,a\n2,y,\xE9\n", &by_name, 3, 3, "not UTF-8"},
        {"r,c,n\n", &long_shape, 2, 1, "the file ends after its header"},
        {"a b c\nd e f\n", &detect, 1, 0, "no comma, semicolon or tab"},
    };
    for (const Case& c : cases) {
        const TableReadResult read = read_text(c.text, *c.options);
        if (c.says.empty()) {
            EXPECT_TRUE(read.ok) << c.text;
            continue;
        }
        ASSERT_FALSE(read.ok) << c.text;
        EXPECT_EQ(read.error.line, c.line) << c.text << read.error.message;
        EXPECT_EQ(read.error.field, c.field) << c.text << read.error.message;
        EXPECT_NE(read.error.message.find(c.says), std::string::npos) << read.error.message;
        EXPECT_NE(read.error.message.find("expected"), std::string::npos) << read.error.message;
    }
}

// The preview shows the first rows as the import reads them, with what was
// detected, and says why when something could not be.
TEST(CountTables, PreviewOfTheHead) {
    std::string text = "\xEF\xBB\xBFid;\"region; zone\";age\r\n";
    for (int k = 1; k <= 30; ++k) text += std::to_string(k) + ";\"N\"\"" + std::to_string(k % 3) + "\";" + std::to_string(k % 4) + "\r\n";
    MemoryBytes bytes(text);
    const TablePreview preview = preview_table(bytes, {}, 5);
    EXPECT_EQ(preview.delimiter.value, ';');
    EXPECT_TRUE(preview.whole_file);
    ASSERT_EQ(preview.sample.records.size(), 6u) << "the header and 5 rows";
    EXPECT_EQ(preview.sample.records[0], (Names{"id", "region; zone", "age"}));
    EXPECT_EQ(preview.sample.records[2], (Names{"2", "N\"2", "2"}));
    EXPECT_EQ(preview.sample.lines[5], 6);
    EXPECT_TRUE(preview.sample.byte_order_mark);
    EXPECT_TRUE(preview.sample.crlf);
    EXPECT_FALSE(preview.shape.value) << "records with an id, or a long table of numbered rows";
    TableReadOptions records;
    records.columns = {"region; zone", "age", ""};
    MemoryBytes again(text);
    const TablePreview chosen = preview_table(again, records, 5);
    EXPECT_EQ(chosen.shape.value, TableShape::Records);
    const TableReadResult read = read_text(text, records);
    ASSERT_TRUE(read.ok) << read.error.message;
    EXPECT_EQ(read.table.row_names, (Names{"N\"1", "N\"2", "N\"0"}));
    EXPECT_EQ(read.table.col_names, (Names{"1", "2", "3", "0"}));

    MemoryBytes plain("one column\nonly\n");
    const TablePreview none = preview_table(plain, {}, 5);
    EXPECT_FALSE(none.delimiter.value);
    EXPECT_NE(none.delimiter.problem.find("no comma, semicolon or tab"), std::string::npos);
}

}  // namespace
}  // namespace marvist
