// The error and progress windows: message blocks and the reporters' states.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/report_error.h"
#include "analysis/report_progress.h"
#include "support/test_support.h"

namespace marvist {
namespace {

using Lines = std::vector<std::string>;

struct Reporting : ::testing::Test {
    test::CapturingReportSink sink;
    RunState rs;
    void SetUp() override {
        rs.reports = &sink;
        rs.clock = test::fixed_time;
    }
};

const std::string kEnd = "  E N D   O F   P R O G R A M   D U E   T O   F A T A L  ";
const std::string kIoErrors = "                     I/O   E R R O R S  ";

TEST_F(Reporting, WarningShowsHeadingMessageAndBlankLine) {
    report_error(rs, 150, kSeverityWarning);
    EXPECT_EQ(sink.errors, (Lines{"  W A R N I N G ", " ",
                                  " The number of axes for NonSymmetric Correspondence Analysis was too large.",
                                  " The number was set at its maximum value", " "}));
    EXPECT_EQ(rs.error_window_state, WindowState::Mid);
    EXPECT_EQ(sink.error_opens, 1);
}

TEST_F(Reporting, EachFatalReportCarriesItsClosingLines) {
    report_error(rs, 100, kSeverityFatal);
    report_error(rs, 100, kSeverityFatal);
    const Lines one{"  F A T A L   E R R O R ", " ", " One of more of the rows have no observations", " ", kEnd,
                    kIoErrors};
    Lines two = one;
    two.insert(two.end(), one.begin(), one.end());
    EXPECT_EQ(sink.errors, two);
    EXPECT_EQ(sink.error_opens, 1) << "the window is opened by the first report only";
}

TEST_F(Reporting, MemoryAndDecompositionErrorsHaveTheirOwnLastLine) {
    report_error(rs, 37, kSeverityFatal);
    EXPECT_EQ(sink.errors.back(), "                 M E M O R Y   E R R O R S");
    EXPECT_EQ(sink.errors[2], " There is not enough memory available to");
    report_error(rs, 50, kSeverityFatal);
    EXPECT_EQ(sink.errors.back(), "                  E R R O R   I N  S.V.D.");
}

TEST_F(Reporting, SecondGroupFollowsTheBlankLine) {
    report_error(rs, 510, kSeverityFatal);
    ASSERT_GE(sink.errors.size(), 3u);
    EXPECT_EQ(sink.errors[0], "  F A T A L   E R R O R ");
    EXPECT_EQ(sink.errors[1], " ");
    EXPECT_EQ(sink.errors[2], " While reading the data file an end-of-file mark was encountered.");
    EXPECT_EQ(sink.errors[5], " (2) your specification of the numbrs of categories is incorrect;");
    EXPECT_EQ(sink.errors[sink.errors.size() - 2], kEnd);
    EXPECT_EQ(sink.errors.back(), kIoErrors);
}

TEST_F(Reporting, FailedJobClosesWithTheRuleAndEndsThePainting) {
    rs.fatal_state = kFatal;
    report_error(rs, 999, kSeverityNone);
    EXPECT_EQ(sink.errors, (Lines{"  ", " ", " ", std::string(46, '\xCD'), " ",
                                  " Marvist ended prematurely due to fatal errors"}));
    rs.error_window_state = WindowState::Last;
    report_error(rs, 0, kSeverityWarning);
    EXPECT_EQ(sink.errors.size(), 6u) << "the closing call writes nothing";
    EXPECT_EQ(sink.error_ends, 1);
}

TEST_F(Reporting, UnknownCodesAndSeverities) {
    report_error(rs, 777, kSeverityFatal);
    EXPECT_EQ(sink.errors, (Lines{"  F A T A L   E R R O R ", " ", kEnd, kIoErrors}));
    sink.errors.clear();
    report_error(rs, 120, 2);  // fatal heading, but no closing lines below severity 3
    EXPECT_EQ(sink.errors, (Lines{"  F A T A L   E R R O R ", " ", " The number of rows is either 0 or 1", " "}));
    sink.errors.clear();
    report_error(rs, 140, 7);  // no heading for a severity outside 0..3
    EXPECT_EQ(sink.errors.front(), " ");
}

TEST_F(Reporting, ProgressBannerCarriesTheJobsDateAndTime) {
    report_progress(rs, 1050);
    ASSERT_EQ(sink.progress.size(), 6u);
    EXPECT_EQ(sink.progress[0], std::string(42, ' ') + "Marvist");
    EXPECT_EQ(sink.progress[1].substr(0, 8), "       V");
    EXPECT_EQ(sink.progress[3], std::string(22, ' ') + " Date: 06-12-2026 ; Time: 20:08:03");
    EXPECT_EQ(sink.progress_opens, 1);
}

TEST_F(Reporting, ProgressOfACompleteJob) {
    for (int code : {1050, 1100, 1200, 1300, 1320, 1350}) report_progress(rs, code);
    rs.progress_window_state = WindowState::Last;
    report_progress(rs, 9000);
    const Lines tail(sink.progress.begin() + 6, sink.progress.end());
    EXPECT_EQ(tail, (Lines{" Reading Input Data", " Start of Analysis", " Nonsymmetric Correspondence Analysis",
                           " Homogenisation of Margins", " Analysis of Symmetry and Skew Symmetry",
                           " Succesful End of Marvist"}));
    EXPECT_EQ(sink.progress_ends, 1);
}

TEST_F(Reporting, FailedJobsProgressEndsWithoutALine) {
    report_progress(rs, 1050);
    report_progress(rs, 4711);  // not a progress code: nothing
    rs.progress_window_state = WindowState::Last;
    report_progress(rs, 0);
    EXPECT_EQ(sink.progress.size(), 6u);
    EXPECT_EQ(sink.progress_ends, 1);
}

}  // namespace
}  // namespace marvist
