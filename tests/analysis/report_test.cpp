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
    Reporter reporter;
    void SetUp() override {
        reporter.sink = &sink;
        reporter.clock = test::fixed_time;
    }
};

const std::string kFatalHeading = "  F A T A L   E R R O R ";
const std::string kEnd = "  E N D   O F   P R O G R A M   D U E   T O   F A T A L  ";
const std::string kIoErrors = "                     I/O   E R R O R S  ";

// A heading by severity (none outside 0..3), the message, the blank line
// that every report carries, and the closing lines from severity 3 up, on
// each report.
TEST_F(Reporting, BlocksBySeverity) {
    const std::string message = " The number of rows is either 0 or 1";
    const struct {
        Severity severity;
        Lines lines;
    } cases[] = {
        {Severity::Warning, {"  W A R N I N G ", " ", message, " "}},
        {Severity::Fatal, {kFatalHeading, " ", message, " ", kEnd, kIoErrors}},
        {Severity::Error, {kFatalHeading, " ", message, " "}},
        {Severity::None, {"  ", " ", message, " "}},
        {static_cast<Severity>(7), {" ", message, " ", kEnd, kIoErrors}},
    };
    for (const auto& c : cases) {
        sink.errors.clear();
        report_error(reporter, ErrorCode::TooFewRows, c.severity);
        EXPECT_EQ(sink.errors, c.lines) << "severity " << static_cast<int>(c.severity);
    }
    EXPECT_EQ(sink.codes, std::vector<ErrorCode>(5, ErrorCode::TooFewRows)) << "each report carries its code";
    EXPECT_EQ(sink.severities.back(), static_cast<Severity>(7));
    EXPECT_EQ(reporter.error_window_state, WindowState::Mid);
    EXPECT_EQ(sink.error_opens, 1) << "the window is opened by the first report only";
}

TEST_F(Reporting, SecondGroupUnknownCodesAndOwnLastLines) {
    report_error(reporter, static_cast<ErrorCode>(777), Severity::Fatal);
    EXPECT_EQ(sink.errors, (Lines{kFatalHeading, " ", kEnd, kIoErrors}));
    sink.errors.clear();
    report_error(reporter, ErrorCode::DataEnd, Severity::Fatal);  // its message follows the blank line
    ASSERT_GE(sink.errors.size(), 6u);
    EXPECT_EQ(sink.errors[2], " While reading the data file an end-of-file mark was encountered.");
    EXPECT_EQ(sink.errors[5], " (2) your specification of the numbrs of categories is incorrect;");
    EXPECT_EQ(sink.errors.back(), kIoErrors);
    report_error(reporter, ErrorCode::Memory, Severity::Fatal);
    EXPECT_EQ(sink.errors.back(), "                 M E M O R Y   E R R O R S");
    report_error(reporter, ErrorCode::SvdFailed, Severity::Fatal);
    EXPECT_EQ(sink.errors.back(), "                  E R R O R   I N  S.V.D.");
}

TEST_F(Reporting, FailedJobClosesWithTheRuleAndEndsThePainting) {
    report_error(reporter, ErrorCode::FailedJob, Severity::None);
    EXPECT_EQ(sink.errors, (Lines{"  ", " ", " ", std::string(46, '\xCD'), " ",
                                  " Marvist ended prematurely due to fatal errors"}));
    reporter.error_window_state = WindowState::Last;
    report_error(reporter, ErrorCode::None, Severity::Warning);
    EXPECT_EQ(sink.errors.size(), 6u) << "the closing call writes nothing";
    EXPECT_EQ(sink.codes, (std::vector<ErrorCode>{ErrorCode::FailedJob})) << "and is no report";
    EXPECT_EQ(sink.error_ends, 1);
}

// The banner and the lines of a whole job are checked through jobs in
// driver_test.cpp; a code that is no progress code writes nothing.
TEST_F(Reporting, FailedJobsProgressEndsWithoutALine) {
    report_progress(reporter, ProgressCode::Banner);
    report_progress(reporter, static_cast<ProgressCode>(4711));
    reporter.progress_window_state = WindowState::Last;
    report_progress(reporter, ProgressCode::None);
    EXPECT_EQ(sink.progress.size(), 6u);
    EXPECT_EQ(sink.progress_ends, 1);
}

}  // namespace
}  // namespace marvist
