#include "app/batch/setup_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/batch/job_form.h"
#include "app/batch/setup_values.h"
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

// The fields a set-up file holds, one after the other.
std::string fields(const JobRecord& job) {
    return job.title + "|" + job.n_rows_text + "|" + job.row_variable + "|" + job.n_cols_text + "|" +
           job.col_variable + "|" + std::to_string(job.has_labels) + "|" + job.job_name + "|" + job.data_file + "|" +
           job.label_file + "|" + job.data_format + "|" + std::to_string(job.dependence) +
           std::to_string(job.do_nsca) + std::to_string(job.do_homogenise) + std::to_string(job.do_symmetry) + "|" +
           job.n_axes_text + "|" + job.n_supp_text;
}

std::string setup_text(const JobRecord& job) {
    CapturedRecords out;
    write_setup_records(out, job);
    std::string text;
    for (const std::string& line : out.lines) text += line + "\n";
    return text;
}

// Every field as written comes back: the title and the last line are read
// whole from column 1; names up to their first blank.
TEST(SetupFile, WrittenLinesReadBack) {
    EXPECT_EQ(setup_text(confirmed_job(1)),
              confirmed_job(1).title + "\n 5          Father      \n 4          \"Son,occ\"\n 1\nmobility\n"
              "data/mobility.dat\nmobility.lab\n \"(2X, 4I4,I5)\"\n 1 1 0 1\n123456789 1         \n");
    EXPECT_EQ(setup_text(confirmed_job(0)).find("mobility.lab"), std::string::npos);  // nine lines

    test::TempDir dir;
    ASSERT_TRUE(write_setup_file(dir.file("job.set") + "   ", confirmed_job(1)).ok);
    JobRecord job;
    ASSERT_TRUE(read_setup_file(dir.file("job.set"), job).ok);
    EXPECT_EQ(job.title, confirmed_job(1).title);      // all 70 characters
    EXPECT_EQ(job.row_variable, fixed("Father", 12));  // names end at a blank
    EXPECT_EQ(job.col_variable, fixed("Son,occ", 12));
    EXPECT_EQ(job.n_cols_text, fixed("4", 10));
    EXPECT_EQ(job.label_file, fixed("mobility.lab", 80));
    EXPECT_EQ(job.data_format, fixed("(2X, 4I4,I5)", 70));
    EXPECT_EQ(job.n_axes_text + job.n_supp_text, confirmed_job(1).n_axes_text + confirmed_job(1).n_supp_text);
    EXPECT_EQ((std::vector<int>{job.dependence, job.do_nsca, job.do_homogenise, job.do_symmetry}),
              (std::vector<int>{1, 1, 0, 1}));

    // A blank variable name does not shift the lines after it.
    job = confirmed_job(0);
    job.row_variable = std::string(12, ' ');
    TextSource in(setup_text(job));
    JobRecord again = confirmed_job(1);
    ASSERT_TRUE(read_setup_records(in, again).ok);
    EXPECT_EQ(again.row_variable, std::string(12, ' '));  // not the name it held
    EXPECT_EQ(again.col_variable, fixed("Son,occ", 12));
    EXPECT_EQ(again.data_format, job.data_format);
}

// Files of earlier versions began the title and the last line with a blank;
// they keep reading as they always did.
TEST(SetupFile, EarlierFilesReadAsBefore) {
    TextSource in(" " + fixed("Mobility", 69) + "!\n 5          Father occ  \n  4         Son occ     \n 1\n mobility\n"
                  " data/mobility.dat\n mobility.lab\n \"(2X, 4I4,I5)\"\n 1 1 0 1\n 123456789 1         \n");
    JobRecord job;
    ASSERT_TRUE(read_setup_records(in, job).ok);
    EXPECT_EQ(job.title, fixed(" Mobility", 70));  // shifted; the 70th character falls away
    EXPECT_EQ(job.row_variable + job.col_variable, fixed("Father", 12) + fixed("Son", 12));
    EXPECT_EQ(job.n_cols_text, fixed("4", 10));
    EXPECT_EQ(job.label_file, fixed(" mobility.lab", 80));  // whole lines keep the leading blank
    EXPECT_EQ(job.n_axes_text, " 123456789");  // the last line's fields are shifted
    EXPECT_EQ(job.n_supp_text, " 1        ");
}

// Saved, read back through the form's rules and saved again, a file stays
// the same from the first save on and gives the same job record every time,
// whether it began as a file of an earlier version or as a new job with
// awkward fields.
TEST(SetupFile, SavingAgainAndAgainChangesNothing) {
    JobRecord awkward = confirmed_job(1);
    awkward.title = fixed("   indented title, with \"quotes\" and 'apostrophes'", 69) + "z";
    awkward.n_rows_text = fixed(" 1 2", 10);  // read as 102
    awkward.row_variable = fixed("\"quoted", 12);
    awkward.n_cols_text = std::string(10, ' ');
    awkward.col_variable = fixed("3*Col,/x", 12);
    awkward.data_format = fixed("(I3,\" \",I3)", 70);
    awkward.n_axes_text = "1234567890";
    awkward.n_supp_text = " 7";
    awkward.data_file = std::string(79, 'd') + "t";  // a file name of 80 characters
    const std::string earlier = " Class of sons\n 5          Son         \n 5          Father      \n 0\n mob\n"
                                " mob.dat\n \"*\"\n 0 1 1 1\n 2         0         \n";
    for (const std::string& start : {earlier, setup_text(awkward)}) {
        std::string text = start, saved, job_run;
        for (int cycle = 1; cycle <= 20; ++cycle) {
            TextSource in(text);
            JobRecord job;  // read, then confirmed as the form does
            ASSERT_TRUE(read_setup_records(in, job).ok) << text;
            ASSERT_FALSE(read_back_job_form(job).failed);
            if (cycle == 1) job_run = fields(job);
            EXPECT_EQ(fields(job), job_run) << "cycle " << cycle;
            text = setup_text(job);
            if (cycle == 1) saved = text;
            EXPECT_EQ(text, saved) << "cycle " << cycle;
        }
    }
    TextSource in(setup_text(awkward));
    JobRecord read;
    ASSERT_TRUE(read_setup_records(in, read).ok);
    EXPECT_EQ(read.title, awkward.title);
    EXPECT_EQ(read_number_field(read.n_rows_text), 102);
    EXPECT_EQ(read.row_variable + read.col_variable, awkward.row_variable + awkward.col_variable);
    EXPECT_EQ(read.data_format, awkward.data_format);
    EXPECT_EQ(read.data_file, awkward.data_file);
    EXPECT_EQ(read.n_axes_text + read.n_supp_text, awkward.n_axes_text + fixed(" 7", 10));
}

// Apostrophes, '*' and '/' are ordinary characters of a value; names the form
// accepts come back up to their first blank.
TEST(SetupFile, ValuesAreSeparatedByBlanksAndCommasOnly) {
    for (const char* name : {"'Row", "3*Col", "2*", "a/b", "/", "Row'", "\"", "a\"b", "x,y", ",", "''", "1*2*3",
                             "Father's job", "\"q\" r", "Tab\tbed"}) {
        JobRecord job = confirmed_job(0);
        job.row_variable = fixed(name, 12);
        job.col_variable = fixed(name, 12);
        TextSource in(setup_text(job));
        JobRecord read;
        ASSERT_TRUE(read_setup_records(in, read).ok) << name;
        const std::string_view typed(name);
        const std::string expected = fixed(typed.substr(0, typed.find(' ')), 12);
        EXPECT_EQ(read.row_variable, expected) << name;
        EXPECT_EQ(read.col_variable, expected) << name;
        EXPECT_EQ(read.n_rows_text, job.n_rows_text) << name;
    }
    std::vector<SetupValue> values;
    ASSERT_EQ(split_setup_values(" 3*Col, 'a b',,\"x,\"\" y\"  tail", 6, values), SplitStatus::Ok);
    std::vector<std::string> texts;
    for (const SetupValue& value : values) texts.push_back(value.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"3*Col", "'a", "b'", "", "x,\" y", "tail"}));
    EXPECT_EQ(split_setup_values(" \"open", 1, values), SplitStatus::Unclosed);
    EXPECT_EQ(split_setup_values(" \"closed\"x", 1, values), SplitStatus::Garbled);
    EXPECT_EQ(split_setup_values(" 1 \"open", 1, values), SplitStatus::Ok);  // what follows is not looked at
}

// A number field holding more than digits and blanks is read by the digit
// rule as before, and named in a warning with its file and line.
TEST(SetupFile, NumberFieldsOtherThanDigitsAreNamed) {
    JobRecord job = confirmed_job(1);
    job.n_rows_text = fixed("5x", 10);
    job.n_supp_text = fixed("-1", 10);
    test::TempDir dir;
    ASSERT_TRUE(write_setup_file(dir.file("odd.set"), job).ok);
    JobRecord read;
    const SetupFileStatus status = read_setup_file(dir.file("odd.set"), read);
    ASSERT_TRUE(status.ok);
    EXPECT_EQ(status.warnings,
              (std::vector<std::string>{
                  dir.file("odd.set") + ", line 2: Number of Rows holds \"5x\", not only digits and blanks; it is read as 122",
                  dir.file("odd.set") + ", line 10: No. of Supplementary Predictors holds \"-1\", not only digits "
                                        "and blanks; it is read as -29"}));
    EXPECT_EQ(read.n_rows_text, job.n_rows_text);
    ASSERT_TRUE(read_setup_file(dir.file("odd.set"), read).ok);
    job = confirmed_job(0);
    ASSERT_TRUE(write_setup_file(dir.file("fine.set"), job).ok);
    EXPECT_TRUE(read_setup_file(dir.file("fine.set"), read).warnings.empty());
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
