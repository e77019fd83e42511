// Symmetric and skew-symmetric parts of a square table.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "base/cp437.h"
#include "base/record_io.h"
#include "base/storage.h"
#include "stats/symmetry.h"
#include "support/test_support.h"

namespace marvist {
namespace {

using Lines = std::vector<std::string>;

struct Symmetry : ::testing::Test {
    CapturedRecords listing;
    test::CapturingReportSink sink;
    RunState rs;
    void run(int I, int J, const std::vector<std::int32_t>& by_rows) {
        rs.reports = &sink;
        Matrix<std::int32_t> counts(I, J);
        for (int i = 1; i <= I; ++i)
            for (int j = 1; j <= J; ++j) counts(i, j) = by_rows[static_cast<std::size_t>((i - 1) * J + j - 1)];
        const Lines blank(static_cast<std::size_t>(std::max(I, J)), std::string(6, ' '));
        analyse_symmetry(counts, I, J, blank, blank, listing, rs);
    }
    Lines lines() const {
        Lines v;
        for (const std::string& line : listing.lines) v.push_back(cp437_to_utf8(line));
        return v;
    }
};

TEST_F(Symmetry, OddDifferencesGiveHalvesSignedAsTheCellOverItsMirror) {
    run(2, 2, {0, 3, 0, 0});
    const Lines l = lines();
    ASSERT_EQ(l.size(), 29u);
    EXPECT_EQ(l[12], "  1  1        │    0.0    1.5");
    EXPECT_EQ(l[19], "     1.5    1.5");
    EXPECT_EQ(l[27], "  1  1        │    0.0    1.5");
    EXPECT_EQ(l[28], "  2  2        │   -1.5    0.0");
}

TEST_F(Symmetry, RectangularTableOrMissingStorageWritesNothing) {
    run(2, 3, {1, 2, 3, 4, 5, 6});
    EXPECT_TRUE(listing.lines.empty());
    EXPECT_EQ(rs.fatal_state, kFatalNone);
    set_storage_limit(16);  // a 2 x 2 table of reals does not fit
    run(2, 2, {10, 20, 30, 40});
    set_storage_limit(0);
    EXPECT_TRUE(listing.lines.empty());
    EXPECT_EQ(rs.fatal_state, kFatal);
    ASSERT_FALSE(sink.errors.empty());
    EXPECT_EQ(sink.errors.back(), "                 M E M O R Y   E R R O R S");
}

}  // namespace
}  // namespace marvist
