// The joint plots' edge cases; whole plots of real solutions (two and five
// axes, cycling keys, coincident points) are in the NSCA golden listings.
#include "plot/joint_plots.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/run_state.h"
#include "base/record_io.h"
#include "base/storage.h"
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

// No axis: no plot and no notice. All coordinates 0 give M = 0: each plot
// writes a notice under its heading. Axis 5 alone is not 0, but M comes
// from axes 1 .. 4: seven notices.
TEST(PlotAxisPairs, NoAxisOrZeroCoordinatesGiveNoPicture) {
    PlotJob none, five;
    DrawJointPlots(Matrix<double>(2, 1), Matrix<double>(2, 1), 2, 2, 0, none.listing, none.rs);
    EXPECT_TRUE(none.listing.lines.empty());

    Matrix<double> rows5(2, 5);
    rows5(1, 5) = 0.3;
    DrawJointPlots(rows5, Matrix<double>(2, 5), 2, 2, 5, five.listing, five.rs);
    ASSERT_EQ(five.listing.lines.size(), 7u * 5u);
    EXPECT_EQ(Lines(five.listing.lines.begin() + 30, five.listing.lines.end()),
              (Lines{"", " COMPONENT LOADINGS OF MODE 1 AND MODE 2 (JOINT PLOT)",
                     " COMPONENT  1  (HOR.) VERSUS COMPONENT  5  (VERT.)",
                     " NO PLOT. THE RANGE OF THE COORDINATES CANNOT BE SCALED.", ""}));
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
