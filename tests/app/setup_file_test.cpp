#include "app/setup_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/fixed_text.h"
#include "base/record_io.h"
#include "support/test_support.h"

namespace marvist {
namespace {

// A job as the form leaves it after OK; a line here for each line of its
// set-up file.
JobRecord confirmed_job(int has_labels) {
    JobRecord job;
    job.title = fixed("Mobility", 69) + "!";
    job.n_rows_text = fixed("5", 10), job.row_variable = fixed("Father occ", 12);
    job.n_cols_text = fixed(" 4", 10), job.col_variable = fixed("Son,occ", 12);
    job.has_labels = has_labels;
    job.job_name = fixed("mobility", 80);
    job.data_file = fixed("data/mobility.dat", 80);
    job.label_file = fixed("mobility.lab", 80);
    job.data_format = fixed("(2X, 4I4,I5)", 70);
    job.dependence = job.do_nsca = job.do_symmetry = 1;
    job.n_axes_text = fixed("123456789", 10), job.n_supp_text = fixed("1", 10);
    return job;
}

std::string setup_text(const JobRecord& job) {
    CapturedRecords out;
    write_setup_records(out, job);
    std::string text;
    for (const std::string& line : out.lines) text += line + "\n";
    return text;
}

TEST(SetupFile, WrittenLinesAndTheirReadBackQuirks) {
    EXPECT_EQ(setup_text(confirmed_job(1)),
              std::string(" ") + confirmed_job(1).title + "\n 5          Father occ  \n  4         Son,occ     \n 1\n mobility\n"
              " data/mobility.dat\n mobility.lab\n \"(2X, 4I4,I5)\"\n 1 1 0 1\n 123456789 1         \n");
    EXPECT_EQ(setup_text(confirmed_job(0)).find("mobility.lab"), std::string::npos);  // nine lines

    test::TempDir dir;
    ASSERT_TRUE(write_setup_file(dir.file("job.set") + "   ", confirmed_job(1)).ok);
    JobRecord job;
    ASSERT_TRUE(read_setup_file(dir.file("job.set"), job).ok);
    EXPECT_EQ(job.title, fixed(" Mobility", 70));      // shifted; the 70th character falls away
    EXPECT_EQ(job.row_variable, fixed("Father", 12));  // names end at a blank or comma
    EXPECT_EQ(job.col_variable, fixed("Son", 12));
    EXPECT_EQ(job.label_file, fixed(" mobility.lab", 80));  // whole lines keep the leading blank
    EXPECT_EQ(job.data_format, fixed("(2X, 4I4,I5)", 70));
    EXPECT_EQ(job.n_supp_text, " 1        ");  // the last line's fields are shifted
    EXPECT_EQ((std::vector<int>{job.dependence, job.do_nsca, job.do_homogenise, job.do_symmetry}),
              (std::vector<int>{1, 1, 0, 1}));

    // A blank variable name does not shift the lines after it.
    job = confirmed_job(0);
    job.row_variable = std::string(12, ' ');
    TextSource in(setup_text(job));
    JobRecord again = confirmed_job(1);
    ASSERT_TRUE(read_setup_records(in, again).ok);
    EXPECT_EQ(again.row_variable, std::string(12, ' '));  // not the name it held
    EXPECT_EQ(again.col_variable, fixed("Son", 12));
    EXPECT_EQ(again.data_format, job.data_format);
}

TEST(SetupFile, BrokenFilesFailNamingFileAndLineAndChangeNothing) {
    const std::string good = setup_text(confirmed_job(1));
    auto lines = [&](int n) {  // the first n lines
        std::size_t end = 0;
        for (int k = 0; k < n; ++k) end = good.find('\n', end) + 1;
        return good.substr(0, end);
    };
    auto with_line = [&](int n, const std::string& line) { return lines(n - 1) + line + "\n" + good.substr(lines(n).size()); };
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "the file is empty"},
        {lines(8), "the file ends after line 8; line 9 should hold 4 integers"},
        {with_line(2, "   "), "line 2: expected 2 values"},
        {with_line(4, " x"), "line 4: expected 1 integer (labels yes/no)"},
        {with_line(4, " 99999999999"), "line 4: expected 1 integer"},
        {with_line(8, " \"(2I4)"), "line 8: expected the data format"},
        {with_line(9, " 1 1 0"), "line 9: expected 4 integers"},
        {with_line(9, " 1 2 0 1"), "each 0 or 1"},
    };
    test::TempDir dir;
    const std::string path = dir.file("bad.set");
    for (const auto& [content, expected] : cases) {
        test::write_file(path, content);
        JobRecord job = confirmed_job(0);
        const SetupFileStatus status = read_setup_file(path, job);
        EXPECT_FALSE(status.ok);
        EXPECT_EQ(status.message.rfind(path + ": ", 0), 0u) << status.message;
        EXPECT_NE(status.message.find(expected), std::string::npos) << status.message;
        EXPECT_EQ(setup_text(job), setup_text(confirmed_job(0))) << expected;
    }
}

}  // namespace
}  // namespace marvist
