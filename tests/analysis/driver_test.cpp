// Whole jobs: golden listings, the report windows, the job record afterwards,
// and every way a job can end early.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/driver.h"
#include "base/fixed_text.h"
#include "base/storage.h"
#include "listing/listing_writer.h"
#include "support/test_support.h"

namespace marvist {
namespace {

using Codes = std::vector<ErrorCode>;
using enum ErrorCode;
using Lines = std::vector<std::string>;

constexpr const char* kGolden = "tests/analysis/golden";

struct Jobs : ::testing::Test, test::JobFolder {
    Codes codes() const { return sink.codes; }
    bool listed(const std::string& name, const std::string& line) const {
        const Lines lines = listing(name);
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    JobRecord small_job(const std::string& data) {  // 2 x 2, free format, no analyses
        test::write_file(dir.file("s.dat"), data);
        return test::job_record("s", "small", 2, "R", 2, "C");
    }
};

// The window shows its lines without trailing blanks.
const Lines kBanner{"                                          Marvist",
                    "       Version 2.0c (C++ edition, 2026)",
                    "",
                    "                       Date: 06-12-2026 ; Time: 20:08:03",
                    "",
                    ""};

Lines with_banner(const Lines& more) {
    Lines all = kBanner;
    all.insert(all.end(), more.begin(), more.end());
    return all;
}

// The golden listings were written by hand from the layouts and the worked
// figures (README.md beside them). After the job, the record holds the table
// as analysed: transposed when the columns are dependent, axes clipped.
TEST_F(Jobs, GoldenListings) {
    const struct {
        const char *name, *title, *row_var, *col_var, *format;
        int rows, cols;
        std::function<void(JobRecord&)> request;
        Lines progress;  // after " Start of Analysis"
        Codes codes;
        const char* record;  // rows, columns, axes, variable names afterwards
    } jobs[] = {
        {"twobytwo",
         "Two by two table, rows dependent",
         "Response",
         "Treatment",
         "*",
         2,
         2,
         [](JobRecord& j) { j.has_labels = j.do_homogenise = j.do_symmetry = 1, j.n_axes = 4; },
         {" No Nonsymmetric Correspondence Analysis performed", " Homogenisation of Margins",
          " Analysis of Symmetry and Skew Symmetry", " Succesful End of Marvist"},
         {},
         "2 2 1 Response    Treatment   "},
        // Symmetry is asked for on a table that is not square: no progress line.
        {"opinion",
         "Opinion by age group, columns dependent",
         "Age group",
         "Opinion",
         "(4I4)",
         3,
         4,
         [](JobRecord& j) { j.dependence = j.do_symmetry = j.n_supp = 1; },
         {" No Nonsymmetric Correspondence Analysis performed", " No Homogenisation of Margins performed",
          " Succesful End of Marvist"},
         {},
         "4 3 0 Opinion     Age group   "},
        // An empty row and an empty column end the listing after the total.
        {"emptycat",
         "Empty row and column",
         "Rows",
         "Columns",
         "*",
         3,
         3,
         [](JobRecord& j) { j.do_homogenise = j.do_symmetry = 1; },
         {},
         {EmptyRow, EmptyColumn, FailedJob},
         "3 3 0 Rows        Columns     "},
    };
    for (const auto& g : jobs) {
        SCOPED_TRACE(g.name);
        test::CapturingReportSink fresh;
        context.reports = &fresh;
        test::copy_job_inputs(kGolden, g.name);
        JobRecord job = test::job_record(g.name, g.title, g.rows, g.row_var, g.cols, g.col_var, g.format);
        g.request(job);
        run(job);
        EXPECT_EQ(test::golden_difference(kGolden, g.name), "");
        EXPECT_EQ(fresh.codes, g.codes);
        EXPECT_EQ(fresh.error_opens, g.codes.empty() ? 0 : 1) << "no error window without reports";
        Lines progress = with_banner({" Reading Input Data", " Start of Analysis"});
        progress.insert(progress.end(), g.progress.begin(), g.progress.end());
        EXPECT_EQ(fresh.progress, progress);
        EXPECT_EQ(fresh.progress_ends, 1);
        EXPECT_EQ(std::to_string(job.n_rows) + " " + std::to_string(job.n_cols) + " " + std::to_string(job.n_axes) +
                      " " + job.row_variable + job.col_variable,
                  g.record);
    }
}

TEST_F(Jobs, EveryFailureIsReachableAndEndsTheJobWhereItShould) {
    test::write_file(dir.file("ok.lab"), "a     b     \nc     d     \n");
    constexpr std::size_t kHeaderAndEcho = 33;                  // header and echo, without labels
    constexpr std::size_t kThroughTotal = kHeaderAndEcho + 25;  // input table, marginal totals and N
    const struct {
        const char* what;
        std::function<void(JobRecord&)> change;
        Codes codes;
        std::size_t listing_lines;  // when the job has ended; 0: nothing after the files are opened
    } cases[] = {
        {"listing folder missing",
         [](JobRecord& j) { j.output_file = fixed("none/s.out", 80); },
         {ListingOpen, FailedJob},
         0},
        {"data file missing", [](JobRecord& j) { j.data_file = fixed("none.dat", 80); }, {DataOpen, FailedJob}, 0},
        {"label file missing", [](JobRecord& j) { j.has_labels = 1; }, {LabelOpen, FailedJob}, 0},
        {"one row", [](JobRecord& j) { j.n_rows = 1; }, {TooFewRows, FailedJob}, 0},
        {"no columns", [](JobRecord& j) { j.n_cols = 0; }, {TooFewColumns, FailedJob}, 0},
        {"negative predictors", [](JobRecord& j) { j.n_supp = -1; }, {NegativeSupplementary, FailedJob}, 0},
        {"zero axes", [](JobRecord& j) { j.do_nsca = 1; }, {ZeroAxes}, 0},
        {"too many axes", [](JobRecord& j) { j.do_nsca = 1, j.n_axes = 2; }, {TooManyAxes}, 0},
        {"labels end early",
         [](JobRecord& j) { j.has_labels = 1, j.n_rows = 14, j.label_file = fixed("ok.lab", 80); },
         {LabelEnd, FailedJob},
         kHeaderAndEcho + 3},
        {"labels unreadable",
         [](JobRecord& j) { j.has_labels = 1, j.label_file = fixed("/proc/self/mem", 80); },
         {LabelRead, FailedJob},
         kHeaderAndEcho + 3},
        {"data end early", [](JobRecord& j) { j.n_rows = 3; }, {DataEnd, FailedJob}, kHeaderAndEcho + 4},
        {"data unreadable",
         [](JobRecord& j) { j.data_format = fixed("(2I1,F3.1)", 70); },
         {DataRead, FailedJob},
         kHeaderAndEcho + 4},
        {"empty column", [](JobRecord& j) { j.n_cols = 3; }, {EmptyColumn, FailedJob}, kThroughTotal},
        {"every row and column empty",
         [](JobRecord&) { test::write_file("s.dat", "0 0\n0 0\n"); },
         {EmptyRow, EmptyRow, EmptyColumn, EmptyColumn, FailedJob},
         kThroughTotal},
        {"table far too large", [](JobRecord& j) { j.n_rows = 999999999; }, {Memory, FailedJob}, kHeaderAndEcho},
        {"huge supplementary count", [](JobRecord& j) { j.n_supp = 2000000000; }, {Memory, FailedJob}, kHeaderAndEcho},
        {"storage limit", [](JobRecord&) { set_storage_limit(200); }, {Memory, FailedJob}, kHeaderAndEcho},
        {"listing cannot be written",
         [](JobRecord& j) { j.output_file = fixed("/dev/full", 80); },
         {ListingWrite, FailedJob},
         0},
    };
    for (const auto& c : cases) {
        set_storage_limit(std::uint64_t{1} << 30);
        test::CapturingReportSink fresh;
        context.reports = &fresh;
        std::filesystem::remove("s.out");
        JobRecord job = small_job("1 2 0\n3 4 0\n");
        c.change(job);
        const JobResults results = run(job);
        EXPECT_EQ(fresh.codes, c.codes) << c.what;
        EXPECT_EQ(fresh.error_ends, 1) << c.what;
        const bool fatal = c.codes.back() == FailedJob;
        EXPECT_EQ(results.fatal_state, fatal ? FatalState::Fatal : FatalState::None) << c.what;
        const Lines lines = listing("s");
        if (!fatal) {
            EXPECT_EQ(lines.back(), " Succesful end of Marvist") << c.what;
        } else {
            EXPECT_EQ(lines.size(), c.listing_lines) << c.what;
        }
        if (c.codes.front() == Memory) {
            EXPECT_EQ(
                std::count(fresh.errors.begin(), fresh.errors.end(), "                 M E M O R Y   E R R O R S"), 1)
                << c.what;
        }
        if (c.codes.front() == DataOpen || c.codes.front() == ListingOpen) {
            EXPECT_EQ(fresh.progress, kBanner) << "only the banner: " << c.what;
        }
    }
}

TEST_F(Jobs, ZeroTauSkipsNscaAndClearsItsSwitch) {
    JobRecord job = small_job("1 2\n2 4\n");
    job.do_nsca = job.n_axes = 1;
    const JobResults results = run(job);
    EXPECT_EQ(job.do_nsca, 0);
    EXPECT_EQ(results.fatal_state, FatalState::SkipNsca);
    EXPECT_EQ(codes(), (Codes{TauZero}));
    EXPECT_EQ(sink.progress[8], " No Nonsymmetric Correspondence Analysis performed");
    EXPECT_EQ(listing("s").back(), " Succesful end of Marvist");
}

// Negative counts as zero (reported only when NSCA is asked for); more than
// min(rows, columns) - 1 is clipped to that and echoed so.
TEST_F(Jobs, TheNumberOfAxesIsBroughtIntoRange) {
    JobRecord job = small_job("1 2\n3 4\n");
    job.n_axes = -4;
    run(job);
    EXPECT_EQ(job.n_axes, 0);
    EXPECT_EQ(sink.error_opens, 0);
    job = small_job("1 2\n3 4\n");
    job.n_axes = -4;
    job.do_nsca = 1;
    run(job);
    EXPECT_EQ(job.n_axes, 1);
    EXPECT_EQ(codes(), (Codes{ZeroAxes}));

    sink = test::CapturingReportSink();
    test::write_file(dir.file("t.dat"), "1 2 3 4\n5 6 7 9\n9 1 2 3\n");
    job = test::job_record("t", "axes", 3, "R", 4, "C");
    job.do_nsca = 1;
    job.n_axes = 5;
    run(job);
    EXPECT_EQ(job.n_axes, 2);
    EXPECT_EQ(codes(), (Codes{TooManyAxes}));
    EXPECT_EQ(listing("t")[31], " Number of axes biplot (=<min[rows,columns]-1)   =   2");
    EXPECT_EQ(sink.progress[8], " Nonsymmetric Correspondence Analysis");
}

TEST_F(Jobs, TransposedLabelsFollowTheirCategories) {
    test::write_file(dir.file("t.dat"), "1 2 3\n4 5 6\n");
    test::write_file(dir.file("t.lab"), "r1    r2    \nc1    c2    c3    \n");
    JobRecord job = test::job_record("t", "labels", 2, "R", 3, "C");
    job.has_labels = job.dependence = 1;
    run(job);
    EXPECT_TRUE(listed("t", "              \xB3 r1     r2    "));
    EXPECT_TRUE(listed("t", "  3  3 c3     \xB3      3      6"));
}

// N = 7,000,000,000. For a 2 x 2 table Tau_a is phi squared:
// (2e18 - 4e18)^2 / (4e9 * 3e9 * 4e9 * 3e9) = 1/36; its chi-square is (N - 1) / 36.
TEST_F(Jobs, ATotalBeyondThirtyTwoBitsIsCountedExactly) {
    JobRecord job = small_job("2000000000 2000000000\n2000000000 1000000000\n");
    run(job);
    EXPECT_TRUE(listed("s", " Total number of observations (N)7000000000"));
    EXPECT_TRUE(listed("s", " Tau_a (Rows dependent)          0.028"));
    EXPECT_TRUE(listed("s", " Asympt. approx. chi square " + std::string(12, ' ') + "194444444.417 with df   1"));
}

// A job whose only reports are warnings ends as a success: its progress
// window closes with the success line, its error window with the closing
// call, and its listing with the success line. Warnings 140 (no axes), 150
// (too many axes) and 200 (tau is 0).
TEST_F(Jobs, AJobWithWarningsOnlyEndsWithItsSuccessLine) {
    const struct {
        const char* data;
        int n_axes;
        Codes codes;
    } cases[] = {{"1 2\n3 4\n", 0, {ZeroAxes}}, {"1 2\n3 4\n", 7, {TooManyAxes}}, {"1 2\n2 4\n", 1, {TauZero}}};
    for (const auto& c : cases) {
        test::CapturingReportSink fresh;
        context.reports = &fresh;
        JobRecord job = small_job(c.data);
        job.do_nsca = 1;
        job.n_axes = c.n_axes;
        const JobResults results = run(job);
        EXPECT_EQ(fresh.codes, c.codes);
        EXPECT_EQ(fresh.severities, std::vector<Severity>{Severity::Warning});
        EXPECT_NE(results.fatal_state, FatalState::Fatal);
        ASSERT_FALSE(fresh.progress.empty());
        EXPECT_EQ(fresh.progress.back(), " Succesful End of Marvist");
        EXPECT_EQ(fresh.progress_codes.back(), ProgressCode::SuccessfulEnd);
        EXPECT_EQ(fresh.progress_ends, 1);
        EXPECT_EQ(fresh.error_ends, 1);
        EXPECT_EQ(listing("s").back(), " Succesful end of Marvist");
    }
}

// The golden job of a 2 x 2 table, run on the table and labels in memory,
// writes the golden listing; the results hold the table and every analysis
// that ran.
TEST_F(Jobs, AJobRunsFromATableInMemory) {
    JobRecord job = test::job_record("twobytwo", "Two by two table, rows dependent", 2, "Response", 2, "Treatment");
    job.has_labels = job.do_homogenise = job.do_symmetry = 1;
    job.n_axes = 4;
    TableInput table;
    table.counts = test::counts_of(2, 2, {10, 20, 30, 40});
    const Lines labels = test::read_lines(test::source_path(std::string(kGolden) + "/twobytwo.lab"));
    for (int k = 0; k < 2; ++k) {
        table.row_labels.push_back(labels[0].substr(6 * k, 6));
        table.col_labels.push_back(labels[1].substr(6 * k, 6));
    }
    ListingWriter writer;
    CapturedRecords listing;
    const JobResults results = run_job(job, table, context, writer, listing);
    EXPECT_EQ(listing.lines, test::read_lines(test::source_path(std::string(kGolden) + "/twobytwo.out")));
    EXPECT_EQ(results.fatal_state, FatalState::None);
    EXPECT_EQ(results.table.counts(2, 1), 30);
    EXPECT_EQ(row_labels(results.table)[1], table.row_labels[1]);
    EXPECT_TRUE(results.dependence && results.homogenisation && results.symmetry);
    EXPECT_FALSE(results.nsca);
    EXPECT_FALSE(std::filesystem::exists("twobytwo.out")) << "no file is written";

    // Columns dependent, with a supplementary record: transposed as the file is.
    JobRecord opinion = test::job_record("opinion", "Opinion by age group, columns dependent", 3, "Age group", 4,
                                         "Opinion", "(4I4)");
    opinion.dependence = opinion.do_symmetry = opinion.n_supp = 1;
    const Lines data = test::read_lines(test::source_path(std::string(kGolden) + "/opinion.dat"));
    TableInput file;
    file.counts = Matrix<std::int32_t>(3, 4);
    file.supp_counts = Matrix<std::int32_t>(1, 4);
    for (int j = 1; j <= 4; ++j) {
        for (int i = 1; i <= 3; ++i) file.counts(i, j) = std::stoi(data[i - 1].substr(4 * (j - 1), 4));
        file.supp_counts(1, j) = std::stoi(data[3].substr(4 * (j - 1), 4));
    }
    CapturedRecords transposed;
    run_job(opinion, file, context, writer, transposed);
    EXPECT_EQ(transposed.lines, test::read_lines(test::source_path(std::string(kGolden) + "/opinion.out")));

    table.counts(1, 2) = -1;  // as a data file with a negative count
    run_job(job, table, context, writer, listing);
    EXPECT_EQ(sink.codes.back(), FailedJob);
    EXPECT_EQ(sink.codes.end()[-2], DataRead);
    table.counts = test::counts_of(2, 3, {1, 2, 3, 4, 5, 6});
    EXPECT_THROW(run_job(job, table, context, writer, listing), std::invalid_argument);
}

// With the columns dependent the table is analysed transposed: the results
// hold it so, with the names and labels exchanged and the supplementary
// record as a column; the echo keeps the names of the file.
TEST_F(Jobs, ResultsHoldTheTableAsAnalysed) {
    test::copy_job_inputs(kGolden, "opinion");
    JobRecord job =
        test::job_record("opinion", "Opinion by age group, columns dependent", 3, "Age group", 4, "Opinion", "(4I4)");
    job.dependence = job.do_symmetry = job.n_supp = 1;
    const JobResults results = run(job);
    const JobTable& t = results.table;
    EXPECT_TRUE(t.transposed);
    EXPECT_EQ(t.I, 4);
    EXPECT_EQ(t.J, 3);
    EXPECT_EQ(t.row_variable, fixed("Opinion", 12));
    EXPECT_EQ(results.job.row_variable, fixed("Age group", 12));
    EXPECT_EQ(results.job.n_rows, 3);
    const Lines data = test::read_lines("opinion.dat");
    EXPECT_EQ(t.counts(1, 2), std::stoi(data[1].substr(0, 4))) << "row 2 of the file is column 2";
    EXPECT_EQ(t.supp_counts(4, 1), std::stoi(data[3].substr(12, 4))) << "the fourth record is the predictor";
    EXPECT_FALSE(results.symmetry) << "not square";
}

// Relative file names are taken from the context's base folder, whatever
// the working folder.
TEST_F(Jobs, RelativeNamesAreTakenFromTheBaseFolder) {
    std::filesystem::create_directory("jobs");
    test::write_file(dir.file("jobs/s.dat"), "1 2\n3 5\n");
    JobRecord job = test::job_record("s", "elsewhere", 2, "R", 2, "C");
    context.base_folder = dir.file("jobs");
    const JobResults results = run(job);
    EXPECT_EQ(results.fatal_state, FatalState::None);
    EXPECT_TRUE(std::filesystem::exists(dir.file("jobs/s.out")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("s.out")));
    const Lines lines = listing("jobs/s");
    EXPECT_NE(std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return trimmed(l) == " s.dat"; }),
              lines.end())
        << "the echo shows the name as given";
}

}  // namespace
}  // namespace marvist
