// The joint plots' edge cases; whole plots of real solutions (two and five
// axes, cycling keys, coincident points) are in the NSCA golden listings.
#include "listing/joint_plots.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/record_io.h"
#include "base/storage.h"

namespace marvist {
namespace {

using Lines = std::vector<std::string>;

// No axis: no plot and no notice. All coordinates 0 give M = 0: each plot
// writes a notice under its heading. Axis 5 alone is not 0, but M comes
// from axes 1 .. 4: seven notices.
TEST(PlotAxisPairs, NoAxisOrZeroCoordinatesGiveNoPicture) {
    CapturedRecords none, five;
    EXPECT_TRUE(DrawJointPlots(Matrix<double>(2, 1), Matrix<double>(2, 1), 2, 2, 0, none));
    EXPECT_TRUE(none.lines.empty());

    Matrix<double> rows5(2, 5);
    rows5(1, 5) = 0.3;
    EXPECT_TRUE(DrawJointPlots(rows5, Matrix<double>(2, 5), 2, 2, 5, five));
    ASSERT_EQ(five.lines.size(), 7u * 5u);
    EXPECT_EQ(Lines(five.lines.begin() + 30, five.lines.end()),
              (Lines{"", " COMPONENT LOADINGS OF MODE 1 AND MODE 2 (JOINT PLOT)",
                     " COMPONENT  1  (HOR.) VERSUS COMPONENT  5  (VERT.)",
                     " NO PLOT. THE RANGE OF THE COORDINATES CANNOT BE SCALED.", ""}));
}

TEST(DrawJointPlots, PointListStorageFailureIsTheMemoryError) {
    CapturedRecords listing;
    Matrix<double> rows(2, 2), cols(2, 2);
    rows(1, 1) = 0.3, cols(2, 2) = -0.1;
    set_storage_limit(4 * 2 * sizeof(double) - 1);
    const bool plotted = DrawJointPlots(rows, cols, 2, 2, 2, listing);
    set_storage_limit(0);
    EXPECT_FALSE(plotted);
    EXPECT_TRUE(listing.lines.empty());
}

}  // namespace
}  // namespace marvist
