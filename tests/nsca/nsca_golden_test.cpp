// Whole jobs with the nonsymmetric correspondence analysis: golden listings,
// and a job whose analysis is refused its storage.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "analysis/driver.h"
#include "base/storage.h"
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
    // The same listings whether the vectors are replayed or all computed.
    for (const SvdPath path : {SvdPath::Fast, SvdPath::Full}) {
        for (const Job& g : jobs) {
            SCOPED_TRACE(::testing::Message() << g.name << (path == SvdPath::Fast ? " fast" : " full"));
            test::CapturingReportSink fresh;
            context.reports = &fresh;
            context.svd_path = path;
            JobRecord j = job(g);
            const JobResults results = run(j);
            EXPECT_EQ(test::golden_difference(kGolden, g.name), "");
            EXPECT_EQ(results.fatal_state, FatalState::None);
            EXPECT_EQ(fresh.error_opens, 0) << "no report at all";
        }
    }
}

// Small tables the goldens do not show. A zero count adds nothing to G2
// (and no NaN): 2.2605 is 2·o·ln|o/e| over the other cells of the one-axis
// fit, worked out independently. Row 3 and column 3 follow the margins
// exactly and carry no part of tau: their contributions show 0, not 0/0,
// and one axis of the two asked for is usable.
TEST_F(NscaJobs, ZeroCountsAndZeroPartsOfTau) {
    const struct {
        const char* name;
        const char* data;
        int n_axes;
        Lines shown;
    } cases[] = {
        {"zerocount", "8 0 2\n1 6 3\n2 3 7\n", 1, {" LogLikelihood Ratio (G2)     2.2605 df =   1"}},
        {"notau", "5 1 3\n1 5 3\n3 3 3\n", 2,
         {"   1.000  1.000  0.000", "  3  3        \xB3  0.000 \xB3  0.000",
          " Proportional contribution of the  1 axes"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::write_file(dir.file(std::string(c.name) + ".dat"), c.data);
        JobRecord j = job({c.name, "Three by three", 3, "Rows", 3, "Columns", c.n_axes, 0, 0});
        run(j);
        const Lines lines = listing(c.name);
        for (const std::string& line : lines) EXPECT_EQ(line.find("NaN"), std::string::npos) << line;
        for (const std::string& line : c.shown) EXPECT_EQ(std::count(lines.begin(), lines.end(), line), 1) << line;
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
    const JobResults results = run(j);
    EXPECT_EQ(results.fatal_state, FatalState::Fatal);
    EXPECT_EQ(sink.codes, (std::vector<ErrorCode>{ErrorCode::Memory, ErrorCode::FailedJob}));
    const Lines lines = listing("wide");
    EXPECT_EQ(Lines(lines.end() - 2, lines.end()), (Lines{" Tau = MS(Between)/MS(Total)", ""}));
    EXPECT_EQ(sink.progress.back(), " Nonsymmetric Correspondence Analysis");
}

}  // namespace
}  // namespace marvist
