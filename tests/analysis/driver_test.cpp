// Whole jobs: golden listings, the report windows, the job record afterwards,
// and every way a job can end early.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "analysis/driver.h"
#include "listing/cp437.h"
#include "listing/fixed_text.h"
#include "listing/storage.h"
#include "report_codes.h"
#include "support/test_support.h"

namespace marvist {
namespace {

using Codes = std::vector<int>;
using Lines = std::vector<std::string>;

JobRecord make_job(const std::string& name, const std::string& title, int rows, const std::string& row_var, int cols,
                   const std::string& col_var, const std::string& format) {
    JobRecord job;
    job.title = fixed(title, 70);
    job.n_rows = rows;
    job.n_cols = cols;
    job.row_variable = fixed(row_var, 12);
    job.col_variable = fixed(col_var, 12);
    job.output_file = fixed(name + ".out", 80);
    job.data_file = fixed(name + ".dat", 80);
    job.label_file = fixed(name + ".lab", 80);
    job.data_format = fixed(format, 70);
    return job;
}

std::string golden(const std::string& file) { return test::source_path("tests/analysis/golden/" + file); }

// Jobs run in a fresh folder with relative file names, as the listing echoes them.
struct Jobs : ::testing::Test {
    test::TempDir dir;
    std::filesystem::path previous = std::filesystem::current_path();
    test::CapturingReportSink sink;
    RunState rs;

    void SetUp() override {
        std::filesystem::current_path(dir.path());
        rs.reports = &sink;
        rs.clock = test::fixed_time;
    }
    void TearDown() override {
        std::filesystem::current_path(previous);
        set_storage_limit(0);
    }
    Codes codes() const { return test::reported_codes(sink.errors); }
    Lines listing(const std::string& name) const { return test::read_lines(dir.file(name + ".out")); }
    bool listed(const std::string& name, const std::string& line) const {
        const Lines lines = listing(name);
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    JobRecord small_job(const std::string& data) {  // 2 x 2, free format, no analyses
        test::write_file(dir.file("s.dat"), data);
        return make_job("s", "small", 2, "R", 2, "C", "*");
    }
    JobRecord golden_job(const std::string& name, const std::string& title, int rows, const std::string& row_var,
                         int cols, const std::string& col_var, const std::string& format) {
        for (const char* ext : {".dat", ".lab"})
            if (std::filesystem::exists(golden(name + ext))) std::filesystem::copy_file(golden(name + ext), name + ext);
        return make_job(name, title, rows, row_var, cols, col_var, format);
    }
    // The expected listings were written by hand from the layouts and the
    // worked figures; compared byte for byte, shown in UTF-8 where they differ.
    void expect_golden(const std::string& name) {
        if (test::read_file(dir.file(name + ".out")) == test::read_file(golden(name + ".out"))) return;
        const Lines want = test::read_lines(golden(name + ".out")), got = listing(name);
        for (std::size_t k = 0; k < std::max(want.size(), got.size()); ++k) {
            ASSERT_EQ(k < got.size() ? cp437_to_utf8(got[k]) : "<none>", k < want.size() ? cp437_to_utf8(want[k]) : "<none>")
                << name << ".out line " << k + 1;
        }
        FAIL() << name << ".out differs in its line ends";
    }
};

// The window shows its lines without trailing blanks.
const Lines kBanner{"                                          Marvist", "       Version 2.0c (C++ edition, 2026)", "",
                    "                       Date: 06-12-2026 ; Time: 20:08:03", "", ""};

Lines with_banner(const Lines& more) {
    Lines all = kBanner;
    all.insert(all.end(), more.begin(), more.end());
    return all;
}

TEST_F(Jobs, SquareTableWithLabelsHomogenisationAndSymmetry) {
    JobRecord job = golden_job("twobytwo", "Two by two table, rows dependent", 2, "Response", 2, "Treatment", "*");
    job.has_labels = job.do_homogenise = job.do_symmetry = 1;
    job.n_axes = 4;
    run_job(job, rs);
    expect_golden("twobytwo");
    EXPECT_EQ(sink.progress, with_banner({" Reading Input Data", " Start of Analysis",
                                          " No Nonsymmetric Correspondence Analysis performed", " Homogenisation of Margins",
                                          " Analysis of Symmetry and Skew Symmetry", " Succesful End of Marvist"}));
    EXPECT_EQ(sink.progress_ends, 1);
    EXPECT_EQ(sink.error_opens, 0) << "a job without reports never opens the error window";
    EXPECT_EQ(job.n_axes, 1) << "clipped even without NSCA";
}

TEST_F(Jobs, ColumnsDependentTableIsTransposedWithALayoutAndASupplementaryRecord) {
    JobRecord job = golden_job("opinion", "Opinion by age group, columns dependent", 3, "Age group", 4, "Opinion", "(4I4)");
    job.dependence = job.do_symmetry = job.n_supp = 1;
    run_job(job, rs);
    expect_golden("opinion");
    EXPECT_EQ((std::vector<int>{job.n_rows, job.n_cols}), (std::vector<int>{4, 3}));
    EXPECT_EQ(job.row_variable + job.col_variable, "Opinion     Age group   ");
    EXPECT_EQ(sink.progress, with_banner({" Reading Input Data", " Start of Analysis",
                                          " No Nonsymmetric Correspondence Analysis performed",
                                          " No Homogenisation of Margins performed", " Succesful End of Marvist"}))
        << "no progress line for the impossible symmetry analysis";
}

TEST_F(Jobs, AnEmptyRowAndAnEmptyColumnEndTheListingAfterTheTotal) {
    JobRecord job = golden_job("emptycat", "Empty row and column", 3, "Rows", 3, "Columns", "*");
    job.do_homogenise = job.do_symmetry = 1;
    run_job(job, rs);
    expect_golden("emptycat");
    EXPECT_EQ(codes(), (Codes{100, 110, 999}));
}

TEST_F(Jobs, EveryEmptyRowAndColumnIsReportedBeforeTheClosingLines) {
    JobRecord job = small_job("0 0\n0 0\n");
    run_job(job, rs);
    const Lines row{"  F A T A L   E R R O R ", " ", " One of more of the rows have no observations", " ",
                    "  E N D   O F   P R O G R A M   D U E   T O   F A T A L  ", "                     I/O   E R R O R S  "};
    Lines column = row;
    column[2] = " One of more of the columns have no observations";
    Lines expected;
    for (const Lines& block : {row, row, column, column}) expected.insert(expected.end(), block.begin(), block.end());
    const Lines closing{"  ", " ", " ", std::string(46, '\xCD'), " ", " Marvist ended prematurely due to fatal errors"};
    expected.insert(expected.end(), closing.begin(), closing.end());
    EXPECT_EQ(sink.errors, expected);
    EXPECT_EQ(sink.error_ends, 1);
    EXPECT_EQ(sink.progress, with_banner({" Reading Input Data", " Start of Analysis"}));
    EXPECT_EQ(sink.progress_ends, 1);
}

TEST_F(Jobs, EveryFailureIsReachableAndEndsTheJobWhereItShould) {
    test::write_file(dir.file("ok.lab"), "a     b     \nc     d     \n");
    constexpr std::size_t kHeaderAndEcho = 33;  // header and echo, without labels
    const struct {
        const char* what;
        std::function<void(JobRecord&)> change;
        Codes codes;
        std::size_t listing_lines;  // when the job has ended
    } cases[] = {
        {"listing folder missing", [](JobRecord& j) { j.output_file = fixed("none/s.out", 80); }, {400, 999}, 0},
        {"data file missing", [](JobRecord& j) { j.data_file = fixed("none.dat", 80); }, {410, 999}, 0},
        {"label file missing", [](JobRecord& j) { j.has_labels = 1; }, {420, 999}, 0},
        {"one row", [](JobRecord& j) { j.n_rows = 1; }, {120, 999}, 0},
        {"no columns", [](JobRecord& j) { j.n_cols = 0; }, {130, 999}, 0},
        {"negative predictors", [](JobRecord& j) { j.n_supp = -1; }, {160, 999}, 0},
        {"zero axes", [](JobRecord& j) { j.do_nsca = 1; }, {140}, 0},
        {"too many axes", [](JobRecord& j) { j.do_nsca = 1, j.n_axes = 2; }, {150}, 0},
        {"labels end early", [](JobRecord& j) { j.has_labels = 1, j.n_rows = 14, j.label_file = fixed("ok.lab", 80); },
         {520, 999}, kHeaderAndEcho + 3},
        {"labels unreadable", [](JobRecord& j) { j.has_labels = 1, j.label_file = fixed("/proc/self/mem", 80); },
         {522, 999}, kHeaderAndEcho + 3},
        {"data end early", [](JobRecord& j) { j.n_rows = 3; }, {510, 999}, kHeaderAndEcho + 4},
        {"data unreadable", [](JobRecord& j) { j.data_format = fixed("(2I1,F3.1)", 70); }, {512, 999}, kHeaderAndEcho + 4},
        {"empty column", [](JobRecord& j) { j.n_cols = 3; }, {110, 999}, 0},
        {"table far too large", [](JobRecord& j) { j.n_rows = 999999999; }, {37, 999}, kHeaderAndEcho},
        {"huge supplementary count", [](JobRecord& j) { j.n_supp = 2000000000; }, {37, 999}, kHeaderAndEcho},
        {"storage limit", [](JobRecord&) { set_storage_limit(200); }, {37, 999}, kHeaderAndEcho},
        {"listing cannot be written", [](JobRecord& j) { j.output_file = fixed("/dev/full", 80); }, {430, 999}, 0},
    };
    for (const auto& c : cases) {
        set_storage_limit(std::uint64_t{1} << 30);
        test::CapturingReportSink fresh;
        rs.reports = &fresh;
        JobRecord job = small_job("1 2 0\n3 4 0\n");
        c.change(job);
        run_job(job, rs);
        EXPECT_EQ(test::reported_codes(fresh.errors), c.codes) << c.what;
        const bool fatal = c.codes.back() == 999;
        EXPECT_EQ(rs.fatal_state, fatal ? kFatal : kFatalNone) << c.what;
        const Lines lines = listing("s");
        if (!fatal) {
            EXPECT_EQ(lines.back(), " Succesful end of Marvist") << c.what;
        } else if (c.listing_lines) {
            EXPECT_EQ(lines.size(), c.listing_lines) << c.what;
        } else if (c.codes.front() != 110 && c.codes.front() != 430) {
            EXPECT_TRUE(lines.empty()) << "nothing written after the files are opened: " << c.what;
        }
        if (c.codes.front() == 37) {
            EXPECT_EQ(std::count(fresh.errors.begin(), fresh.errors.end(), "                 M E M O R Y   E R R O R S"), 1)
                << c.what;
        }
        if (c.codes.front() == 410 || c.codes.front() == 400) {
            EXPECT_EQ(fresh.progress, kBanner) << "only the banner: " << c.what;
        }
    }
}

TEST_F(Jobs, ZeroTauSkipsNscaAndClearsItsSwitch) {
    JobRecord job = small_job("1 2\n2 4\n");
    job.do_nsca = job.n_axes = 1;
    run_job(job, rs);
    EXPECT_EQ(job.do_nsca, 0);
    EXPECT_EQ(rs.fatal_state, kFatalSkipNsca);
    EXPECT_EQ(codes(), (Codes{200}));
    EXPECT_EQ(sink.progress[8], " No Nonsymmetric Correspondence Analysis performed");
    EXPECT_EQ(listing("s").back(), " Succesful end of Marvist");
}

TEST_F(Jobs, ANegativeNumberOfAxesCountsAsZero) {
    JobRecord job = small_job("1 2\n3 4\n");
    job.n_axes = -4;
    run_job(job, rs);
    EXPECT_EQ(job.n_axes, 0);
    EXPECT_EQ(sink.error_opens, 0);
    job = small_job("1 2\n3 4\n");
    job.n_axes = -4;
    job.do_nsca = 1;
    run_job(job, rs);
    EXPECT_EQ(job.n_axes, 1);
    EXPECT_EQ(codes(), (Codes{140}));
}

TEST_F(Jobs, TooManyAxesAreClippedAndEchoed) {
    test::write_file(dir.file("t.dat"), "1 2 3 4\n5 6 7 9\n9 1 2 3\n");
    JobRecord job = make_job("t", "axes", 3, "R", 4, "C", "*");
    job.do_nsca = 1;
    job.n_axes = 5;
    run_job(job, rs);
    EXPECT_EQ(job.n_axes, 2);
    EXPECT_EQ(codes(), (Codes{150}));
    EXPECT_EQ(listing("t")[31], " Number of axes biplot (=<min[rows,columns]-1)   =   2");
    EXPECT_EQ(sink.progress[8], " Nonsymmetric Correspondence Analysis");
}

TEST_F(Jobs, TransposedLabelsFollowTheirCategories) {
    test::write_file(dir.file("t.dat"), "1 2 3\n4 5 6\n");
    test::write_file(dir.file("t.lab"), "r1    r2    \nc1    c2    c3    \n");
    JobRecord job = make_job("t", "labels", 2, "R", 3, "C", "*");
    job.has_labels = job.dependence = 1;
    run_job(job, rs);
    EXPECT_TRUE(listed("t", "              \xB3 r1     r2    "));
    EXPECT_TRUE(listed("t", "  3  3 c3     \xB3      3      6"));
}

// N = 7,000,000,000. For a 2 x 2 table Tau_a is phi squared:
// (2e18 - 4e18)^2 / (4e9 * 3e9 * 4e9 * 3e9) = 1/36; its chi-square is (N - 1) / 36.
TEST_F(Jobs, ATotalBeyondThirtyTwoBitsIsCountedExactly) {
    JobRecord job = small_job("2000000000 2000000000\n2000000000 1000000000\n");
    run_job(job, rs);
    EXPECT_TRUE(listed("s", " Total number of observations (N)7000000000"));
    EXPECT_TRUE(listed("s", " Tau_a (Rows dependent)          0.028"));
    EXPECT_TRUE(listed("s", " Asympt. approx. chi square " + std::string(12, ' ') + "194444444.417 with df   1"));
}

}  // namespace
}  // namespace marvist
