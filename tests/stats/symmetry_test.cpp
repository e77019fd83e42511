// Symmetric and skew-symmetric parts of a square table.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "listing/cp437.h"
#include "listing/fixed_text.h"
#include "listing/record_io.h"
#include "listing/storage.h"
#include "stats/symmetry.h"
#include "support/test_support.h"

namespace marvist {
namespace {

using Lines = std::vector<std::string>;

struct Symmetry : ::testing::Test {
    CapturedRecords listing;
    test::CapturingReportSink sink;
    RunState rs;
    void run(int I, int J, const std::vector<std::int32_t>& by_rows, Lines rl = {}, Lines cl = {}) {
        rs.reports = &sink;
        Matrix<std::int32_t> counts(I, J);
        for (int i = 1; i <= I; ++i)
            for (int j = 1; j <= J; ++j) counts(i, j) = by_rows[static_cast<std::size_t>((i - 1) * J + j - 1)];
        rl.resize(static_cast<std::size_t>(I), std::string(6, ' '));
        cl.resize(static_cast<std::size_t>(J), std::string(6, ' '));
        analyse_symmetry(counts, I, J, rl, cl, listing, rs);
    }
    Lines lines() const {
        Lines v;
        for (const std::string& line : listing.lines) v.push_back(cp437_to_utf8(line));
        return v;
    }
};

TEST_F(Symmetry, TwoByTwoTable) {
    run(2, 2, {10, 20, 30, 40}, {fixed("rowA", 6), fixed("rowB", 6)}, {fixed("colA", 6), fixed("colB", 6)});
    const std::string rule = " ══════════════════════════════════════════════════════════════════════════════";
    EXPECT_EQ(lines(), (Lines{"", rule, "                      Analysis of symmetry and skew-symmetry", rule, "",
                              "", "             Symmetrised table", "             ─────────────────", "",
                              " NO. L  LABEL │     1      2 ", "              │ colA   colB  ",
                              " ─────────────┼──────────────", "  1  1 rowA   │   10.0   25.0",
                              "  2  2 rowB   │   25.0   40.0",
                              "", " Values of both column and row marginals ",
                              "      1      2 ", "  rowA   rowB  ", " ──────────────", "    35.0   65.0",
                              "", "             Skew-symmetric table", "             ────────────────────", "",
                              " NO. L  LABEL │     1      2 ", "              │ colA   colB  ",
                              " ─────────────┼──────────────", "  1  1 rowA   │    0.0   -5.0",
                              "  2  2 rowB   │    5.0    0.0"}));
    EXPECT_EQ(rs.fatal_state, kFatalNone);
}

TEST_F(Symmetry, OddDifferencesGiveHalvesSignedAsTheCellOverItsMirror) {
    run(2, 2, {0, 3, 0, 0});
    const Lines l = lines();
    ASSERT_EQ(l.size(), 29u);
    EXPECT_EQ(l[12], "  1  1        │    0.0    1.5");
    EXPECT_EQ(l[19], "     1.5    1.5");
    EXPECT_EQ(l[27], "  1  1        │    0.0    1.5");
    EXPECT_EQ(l[28], "  2  2        │   -1.5    0.0");
}

TEST_F(Symmetry, ElevenCategoriesPrintInBlocks) {
    std::vector<std::int32_t> f;  // f(i,j) = 10 i + j, so K(i,j) = 4.5 (i - j)
    for (int i = 1; i <= 11; ++i)
        for (int j = 1; j <= 11; ++j) f.push_back(10 * i + j);
    run(11, 11, f);
    const Lines l = lines();
    // Banner, caption, S in two blocks (3 + 11, empty, 3 + 11), caption,
    // marginals in two blocks (4, empty, 4), caption, K like S.
    ASSERT_EQ(l.size(), 5u + 4u + 29u + 2u + 9u + 4u + 29u);
    EXPECT_EQ(l[40 + 3], "   423.5  484.0  544.5  605.0  665.5  726.0  786.5  847.0  907.5  968.0");
    EXPECT_EQ(l[40 + 8], "  1028.5");  // (f(11,.) + f(.,11)) / 2 = (1276 + 781) / 2
    EXPECT_EQ(l[53 + 2 + 11], " 11  B        │   45.0   40.5   36.0   31.5   27.0   22.5   18.0   13.5    9.0    4.5");
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
