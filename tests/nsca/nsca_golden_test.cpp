// Whole jobs with the nonsymmetric correspondence analysis: golden listings,
// and a job whose analysis is refused its storage.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "analysis/driver.h"
#include "analysis/report_codes.h"
#include "listing/cp437.h"
#include "listing/fixed_text.h"
#include "listing/storage.h"
#include "support/test_support.h"

namespace marvist {
namespace {

using Lines = std::vector<std::string>;

std::string golden(const std::string& file) { return test::source_path("tests/nsca/golden/" + file); }

struct Job {
    const char* name;
    const char* title;
    int rows;
    const char* row_var;
    int cols;
    const char* col_var;
    int n_axes, n_supp, do_homogenise;
};

// Jobs run in a fresh folder with relative file names, as the listing echoes them.
struct NscaJobs : ::testing::Test {
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

    // Rows dependent, free format, NSCA; the data file and any label file
    // are copied from the golden folder.
    static JobRecord job(const Job& g) {
        JobRecord j;
        const std::string name = g.name;
        for (const std::string ext : {".dat", ".lab"}) {
            if (!std::filesystem::exists(golden(name + ext))) continue;
            std::filesystem::copy_file(golden(name + ext), name + ext);
            j.has_labels = j.has_labels || ext == ".lab";
        }
        j.title = fixed(g.title, 70);
        j.n_rows = g.rows;
        j.n_cols = g.cols;
        j.row_variable = fixed(g.row_var, 12);
        j.col_variable = fixed(g.col_var, 12);
        j.output_file = fixed(name + ".out", 80);
        j.data_file = fixed(name + ".dat", 80);
        j.label_file = fixed(name + ".lab", 80);
        j.data_format = fixed("*", 70);
        j.do_nsca = 1;
        j.n_axes = g.n_axes;
        j.n_supp = g.n_supp;
        j.do_homogenise = g.do_homogenise;
        return j;
    }

    // Byte for byte; on a difference the first differing line is shown in
    // UTF-8, and the listing written is kept beside the test program.
    void expect_golden(const std::string& name) {
        const std::string got = test::read_file(dir.file(name + ".out"));
        if (got == test::read_file(golden(name + ".out"))) return;
        const std::string kept = std::string(MARVIST_BINARY_DIR) + "/tests/" + name + ".actual.out";
        test::write_file(kept, got);
        const Lines want = test::read_lines(golden(name + ".out")), have = test::read_lines(dir.file(name + ".out"));
        for (std::size_t k = 0; k < std::max(want.size(), have.size()); ++k) {
            ASSERT_EQ(k < have.size() ? cp437_to_utf8(have[k]) : "<none>",
                      k < want.size() ? cp437_to_utf8(want[k]) : "<none>")
                << name << ".out line " << k + 1 << "; listing written kept as " << kept;
        }
        FAIL() << name << ".out differs in its line ends; listing written kept as " << kept;
    }
};

// The golden jobs: README.md beside the listings tells what each shows.
TEST_F(NscaJobs, GoldenListings) {
    const Job jobs[] = {
        {"holiday", "Holiday preference by age group", 5, "Holiday", 4, "Agegroup", 2, 0, 1},
        {"oneaxis", "Four by three table, one axis", 4, "Response", 3, "Predictor", 1, 0, 0},
        {"fiveaxes", "Six by six table, five axes", 6, "Rowvar", 6, "Colvar", 5, 0, 0},
        {"suppl", "Diet by region, two supplementary predictors", 4, "Diet", 5, "Region", 2, 2, 0},
        {"manyrows", "Thirty-eight rows", 38, "Rows", 3, "Columns", 2, 0, 0},
        {"coincide", "Rows two and four alike", 5, "Rows", 4, "Columns", 2, 0, 0},
    };
    for (const Job& g : jobs) {
        SCOPED_TRACE(g.name);
        test::CapturingReportSink fresh;
        rs.reports = &fresh;
        JobRecord j = job(g);
        run_job(j, rs);
        expect_golden(g.name);
        EXPECT_EQ(rs.fatal_state, kFatalNone);
        EXPECT_EQ(j.n_axes, g.n_axes);
        EXPECT_EQ(fresh.error_opens, 0) << "no report at all";
    }
}

// 2 x 60: the job's arrays fit the limit, the 60 x 60 copy that the
// decomposition needs does not. The job ends after the dependence measures.
TEST_F(NscaJobs, StorageRefusedInTheAnalysisEndsTheJob) {
    std::string data;
    for (int i = 1; i <= 2; ++i, data += "\n")
        for (int j = 1; j <= 60; ++j) data += std::to_string(1 + (i * j) % 5) + " ";
    test::write_file(dir.file("wide.dat"), data);
    JobRecord j = job({"wide", "Two by sixty", 2, "Rows", 60, "Columns", 1, 0, 0});
    set_storage_limit(20000);
    run_job(j, rs);
    EXPECT_EQ(rs.fatal_state, kFatal);
    EXPECT_EQ(test::reported_codes(sink.errors), (std::vector<int>{37, 999}));
    const Lines lines = test::read_lines(dir.file("wide.out"));
    EXPECT_EQ(Lines(lines.end() - 2, lines.end()), (Lines{" Tau = MS(Between)/MS(Total)", ""}));
    EXPECT_EQ(sink.progress.back(), " Nonsymmetric Correspondence Analysis");
}

}  // namespace
}  // namespace marvist
