// Whole jobs with the nonsymmetric correspondence analysis: golden listings,
// and a job whose analysis is refused its storage.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/driver.h"
#include "analysis/report_codes.h"
#include "listing/storage.h"
#include "support/test_support.h"

namespace marvist {
namespace {

using Lines = std::vector<std::string>;

constexpr const char* kGolden = "tests/nsca/golden";

struct Job {
    const char* name;
    const char* title;
    int rows;
    const char* row_var;
    int cols;
    const char* col_var;
    int n_axes, n_supp, do_homogenise;
};

// Rows dependent, free format, NSCA; the data file and any label file are
// copied from the golden folder.
JobRecord job(const Job& g) {
    JobRecord j = test::job_record(g.name, g.title, g.rows, g.row_var, g.cols, g.col_var);
    j.has_labels = test::copy_job_inputs(kGolden, g.name);
    j.do_nsca = 1;
    j.n_axes = g.n_axes;
    j.n_supp = g.n_supp;
    j.do_homogenise = g.do_homogenise;
    return j;
}

struct NscaJobs : ::testing::Test, test::JobFolder {};

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
        EXPECT_EQ(test::golden_difference(kGolden, g.name), "");
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
    const Lines lines = listing("wide");
    EXPECT_EQ(Lines(lines.end() - 2, lines.end()), (Lines{" Tau = MS(Between)/MS(Total)", ""}));
    EXPECT_EQ(sink.progress.back(), " Nonsymmetric Correspondence Analysis");
}

}  // namespace
}  // namespace marvist
