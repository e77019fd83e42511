// The joint plots' edge cases; whole plots of real solutions (two and five
// axes, cycling keys, coincident points) are in the NSCA golden listings.
#include "plot/joint_plots.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/run_state.h"
#include "listing/record_io.h"
#include "listing/storage.h"
#include "support/test_support.h"

namespace marvist {
namespace {

using Lines = std::vector<std::string>;

struct PlotJob {
    CapturedRecords listing;
    test::CapturingReportSink reports;
    RunState rs;
    PlotJob() { rs.reports = &reports; }
};

const Lines kNoScale = {" NO PLOT. THE RANGE OF THE COORDINATES CANNOT BE SCALED.", ""};

Lines Heading(const char* down) {
    return {"", " COMPONENT LOADINGS OF MODE 1 AND MODE 2 (JOINT PLOT)",
            std::string(" COMPONENT  1  (HOR.) VERSUS COMPONENT  ") + down + "  (VERT.)"};
}

TEST(PlotAxisPairs, OneOrNoAxisGivesNoPicture) {
    PlotJob one, none;
    Matrix<double> rows(2, 1), cols(2, 1);
    rows(1, 1) = 0.3, cols(1, 1) = 0.1;
    DrawJointPlots(rows, cols, 2, 2, 1, one.listing, one.rs);
    EXPECT_EQ(one.listing.lines, (Lines{"", " NO PLOT. THE NUMBER OF DIMENSIONS IS ONE.", ""}));
    DrawJointPlots(rows, cols, 2, 2, 0, none.listing, none.rs);
    EXPECT_TRUE(none.listing.lines.empty());
    EXPECT_EQ(one.rs.fatal_state, kFatalNone);
}

// All coordinates 0 give M = 0: each plot writes a notice under its heading.
// Axis 5 alone is not 0, but M comes from axes 1 .. 4: seven notices.
TEST(PlotAxisPairs, ZeroCoordinatesSkipEveryPlotWithANotice) {
    PlotJob two, five;
    DrawJointPlots(Matrix<double>(2, 2), Matrix<double>(2, 2), 2, 2, 2, two.listing, two.rs);
    Lines want = Heading("2");
    want.insert(want.end(), kNoScale.begin(), kNoScale.end());
    EXPECT_EQ(two.listing.lines, want);

    Matrix<double> rows5(2, 5);
    rows5(1, 5) = 0.3;
    DrawJointPlots(rows5, Matrix<double>(2, 5), 2, 2, 5, five.listing, five.rs);
    ASSERT_EQ(five.listing.lines.size(), 7u * 5u);
    want = Heading("5");
    want.insert(want.end(), kNoScale.begin(), kNoScale.end());
    EXPECT_EQ(Lines(five.listing.lines.begin() + 30, five.listing.lines.end()), want);
    EXPECT_EQ(five.rs.fatal_state, kFatalNone);
}

TEST(DrawJointPlots, PointListStorageFailureIsTheMemoryError) {
    PlotJob run;
    Matrix<double> rows(2, 2), cols(2, 2);
    rows(1, 1) = 0.3, cols(2, 2) = -0.1;
    set_storage_limit(4 * 2 * sizeof(double) - 1);
    DrawJointPlots(rows, cols, 2, 2, 2, run.listing, run.rs);
    set_storage_limit(0);
    EXPECT_TRUE(run.listing.lines.empty());
    EXPECT_EQ(run.rs.fatal_state, kFatal);
    EXPECT_NE(std::find(run.reports.errors.begin(), run.reports.errors.end(),
                        "                 M E M O R Y   E R R O R S"),
              run.reports.errors.end());
}

}  // namespace
}  // namespace marvist
