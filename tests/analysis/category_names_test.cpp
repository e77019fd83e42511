// The full-names file: written, read back, and matched to a job's labels.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/biplot_solution.h"
#include "analysis/category_names.h"
#include "analysis/driver.h"
#include "listing/listing_writer.h"
#include "support/test_support.h"

namespace marvist {
namespace {

FullNames sample_names() {
    FullNames names;
    // Code-page-437 labels: 0x82 is e-acute, 0xC4 a box line.
    names.rows = {{"Caf\x82  ", "Caf\xC3\xA9 au lait \xE2\x82\xAC"}, {"Tab\\ t", "Tab\\ and\ttab,\nnew line\r"}};
    names.cols = {{"\xC4\xC4 box", "\xE2\x94\x80\xE2\x94\x80 box"}, {"#hash ", "#hash, not a comment"}};
    return names;
}

bool same(const std::vector<NamedCategory>& a, const std::vector<NamedCategory>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k) {
        if (a[k].label != b[k].label || a[k].name != b[k].name) return false;
    }
    return true;
}

TEST(FullNames, WrittenAndReadBackUnchanged) {
    EXPECT_EQ(category_names_path("jobs/mobility.lab"), "jobs/mobility.names");
    EXPECT_EQ(category_names_path("labels"), "labels.names");
    const std::string text = format_category_names(sample_names(), "t.lab");
    // One line per category plus the two comment lines; the label in UTF-8.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 6);
    EXPECT_NE(text.find("row\tCaf\xC3\xA9  \tCaf\xC3\xA9 au lait \xE2\x82\xAC\n"), std::string::npos);
    EXPECT_NE(text.find("row\tTab\\\\ t\tTab\\\\ and\\ttab,\\nnew line\\r\n"), std::string::npos);

    test::TempDir dir;
    test::write_file(dir.file("t.names"), text);
    const FullNamesRead read = read_category_names(dir.file("t.names"));
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_TRUE(same(read.names.rows, sample_names().rows));
    EXPECT_TRUE(same(read.names.cols, sample_names().cols));
    // CRLF line ends, as an editor may leave them, read the same.
    std::string crlf;
    for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_TRUE(same(parse_category_names(crlf).names.rows, sample_names().rows));
}

TEST(FullNames, BadFilesAreRefusedWithTheLine) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"row\tAbcdef\tA\nrow\tAbc\n", "line 2: expected row or col, a tab"},
        {"row\tAbcdef\tA\tB\n", "line 1: expected row or col"},
        {"# c\nrows\tAbcdef\tA\n", "line 2: expected row or col first"},
        {"col\tAbcdef\tA\nrow\tAbcdef\tB\n", "line 2: a row line after the column lines"},
        {"row\tAbcdef\tA\\x\n", "line 1: a backslash"},
        {"row\tAbc\tA\n", "line 1: expected a label of six characters"},
        {"row\tAbcd\xE2\x82\xAC\tA\n", "line 1: expected a label of six characters of code page 437"},
        {"row\tAbcdef\t\xC3\n", "not UTF-8"},
    };
    for (const auto& [text, says] : cases) {
        const FullNamesRead read = parse_category_names(text);
        EXPECT_FALSE(read.ok) << text;
        EXPECT_NE(read.error.find(says), std::string::npos) << read.error;
    }
    test::TempDir dir;
    EXPECT_NE(read_category_names(dir.file("none.names")).error.find("none.names: cannot be opened"), std::string::npos);
}

TEST(FullNames, UsedOnlyWhileTheyMatchTheLabelFile) {
    const FullNames names = sample_names();
    const std::vector<std::string> rows = {"Caf\x82  ", "Tab\\ t"};
    const std::vector<std::string> cols = {"\xC4\xC4 box", "#hash "};
    EXPECT_TRUE(same(names_for_labels(names, rows, cols).cols, names.cols));
    const std::vector<std::string> edited = {"Caf\x82  ", "Tab\\ T"};
    EXPECT_TRUE(names_for_labels(names, edited, cols).rows.empty()) << "a label edited since";
    EXPECT_TRUE(names_for_labels(names, rows, {cols.begin(), cols.begin() + 1}).cols.empty()) << "a column fewer";
}

// A job whose label file has a full-names file carries the full names in its
// results, in the orientation of the table analysed; its listing is the same
// as without them. Names that no longer agree with the labels are left out.
struct NamedJobs : ::testing::Test, test::JobFolder {
    void SetUp() override {
        test::write_file(dir.file("t.dat"), "5 1 2\n1 4 3\n");
        test::write_file(dir.file("t.lab"), "Manua1Manua2\nCaf\x82  Tea   Milk  \n");
        job = test::job_record("t", "Named", 2, "Work", 3, "Drink");
        job.has_labels = 1;
    }
    void write_names(const std::string& second_row_label) {
        FullNames names;
        names.rows = {{"Manua1", "Manual, skilled"}, {second_row_label, "Manual, unskilled"}};
        names.cols = {{"Caf\x82  ", "Caf\xC3\xA9 cr\xC3\xA8me"}, {"Tea   ", "Tea"}, {"Milk  ", "Milk\tfresh"}};
        test::write_file(dir.file("t.names"), format_category_names(names, "t.lab"));
    }
    JobRecord job;
};

TEST_F(NamedJobs, ResultsCarryTheFullNames) {
    JobRecord plain = job;
    const JobResults without = run(plain);
    EXPECT_TRUE(without.table.row_names.empty());
    EXPECT_EQ(row_name(without.table, 2), "Manua2");
    EXPECT_EQ(col_name(without.table, 1), "Caf\xC3\xA9") << "the label, as UTF-8 and trimmed";
    const std::vector<std::string> listing_without = listing("t");

    write_names("Manua2");
    JobRecord named = job;
    named.do_nsca = 1;
    named.n_axes = 1;
    const JobResults with = run(named);
    // The joint plots take them too.
    const std::optional<BiplotSolution> plot = biplot_solution(with);
    ASSERT_TRUE(plot.has_value());
    EXPECT_EQ(plot->rows[1].name, "Manual, unskilled");
    EXPECT_EQ(plot->columns[0].name, "Caf\xC3\xA9 cr\xC3\xA8me");
    EXPECT_EQ(with.table.row_names, (std::vector<std::string>{"Manual, skilled", "Manual, unskilled"}));
    EXPECT_EQ(col_name(with.table, 1), "Caf\xC3\xA9 cr\xC3\xA8me");
    EXPECT_EQ(col_name(with.table, 3), "Milk\tfresh");
    JobRecord plain_nsca = job;
    plain_nsca.do_nsca = 1;
    plain_nsca.n_axes = 1;
    std::filesystem::rename(dir.file("t.names"), dir.file("kept.names"));
    run(plain_nsca);
    const std::vector<std::string> nsca_listing_without = listing("t");
    std::filesystem::rename(dir.file("kept.names"), dir.file("t.names"));
    run(named);
    EXPECT_EQ(listing("t"), nsca_listing_without) << "the listing keeps its labels";

    JobRecord transposed = job;
    transposed.dependence = 1;
    const JobResults exchanged = run(transposed);
    EXPECT_EQ(exchanged.table.row_names.size(), 3u);
    EXPECT_EQ(row_name(exchanged.table, 2), "Tea");
    EXPECT_EQ(col_name(exchanged.table, 2), "Manual, unskilled");

    write_names("Manua3");  // the label file says Manua2
    JobRecord stale = job;
    EXPECT_TRUE(run(stale).table.row_names.empty());
    EXPECT_EQ(listing("t"), listing_without);
}

TEST_F(NamedJobs, ATableInMemoryBringsItsNames) {
    TableInput table;
    table.counts = test::counts_of(2, 3, {5, 1, 2, 1, 4, 3});
    table.row_names = {"first row", "second row"};
    table.col_names = {"a", "b", "c"};
    ListingWriter writer;
    CapturedRecords listing;
    const JobResults results = run_job(job, table, context, writer, listing);
    EXPECT_EQ(row_name(results.table, 2), "second row");
    table.col_names.pop_back();
    EXPECT_THROW(run_job(job, table, context, writer, listing), std::invalid_argument);
}

}  // namespace
}  // namespace marvist
