// The labelled matrix printers where the golden listings do not reach them:
// second blocks of a full matrix, row numbers beyond two digits, the one-row
// summary form, and the memory error.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "base/cp437.h"
#include "base/fixed_text.h"
#include "base/record_io.h"
#include "base/storage.h"
#include "listing/matrix_print.h"

namespace marvist {
namespace {

using Lines = std::vector<std::string>;

struct Printers : ::testing::Test {
    CapturedRecords out;
    const Lines ab{fixed("a", 6), fixed("b", 6)};
    Lines lines() const {
        Lines v;
        for (const std::string& line : out.lines) v.push_back(cp437_to_utf8(line));
        return v;
    }
};

TEST_F(Printers, BlocksOfTenColumnsWithKeysRestartingInEachBlock) {
    const int nrow = 100, ncol = 11;
    std::vector<std::int32_t> values;
    for (int j = 1; j <= ncol; ++j)
        for (int i = 1; i <= nrow; ++i) values.push_back(i * 100 + j);
    const Lines rows(nrow, fixed("lab", 6)), cols(ncol, fixed("c", 6));
    ASSERT_TRUE(print_labelled_int_matrix(values.data(), rows, cols, nrow, ncol, ColumnLabels::Omitted, out));
    const Lines l = lines();
    ASSERT_EQ(l.size(), 2u * (2 + nrow) + 1);
    EXPECT_EQ(l[2], "  1  1 lab    │    101    102    103    104    105    106    107    108    109    110");
    EXPECT_EQ(l[1 + 36].substr(0, 24), " 36  1 lab    │   3601");
    EXPECT_EQ(l[1 + 100].substr(0, 24), " **  U lab    │  10001");  // row numbers of 100 and more overflow I2
    EXPECT_EQ(Lines(l.begin() + 102, l.begin() + 106),
              (Lines{"", " NO. L  LABEL │    11 ", " ─────────────┼───────", "  1  1 lab    │    111"}));
    EXPECT_EQ(l[104 + 12], " 12  C lab    │   1211");
}

// The value line of the one-row summary form has its bar one place further right.
TEST_F(Printers, OneRowSummaryForm) {
    const double values[] = {0.25, 0.75}, sum[] = {0.3};
    ASSERT_TRUE(print_labelled_matrix_with_summary(values, sum, {}, ab, 1, 2, SummaryKind::Sum, ColumnLabels::Shown, out));
    EXPECT_EQ(lines(), (Lines{"  Sum   │     1      2 ", "        │ a      b     ", " ───────┼──────────────",
                              "   0.300 │  0.250  0.750"}));
}

TEST_F(Printers, MissingStorageWritesNothingAndFails) {
    const double values[] = {1, 2, 3, 4};
    const std::int32_t counts[] = {1, 2, 3, 4};
    set_storage_limit(8);  // one column number fits, two do not
    EXPECT_FALSE(print_labelled_matrix(values, ab, ab, 2, 2, ColumnLabels::Shown, Decimals::Three, out));
    EXPECT_FALSE(print_labelled_int_matrix(counts, ab, ab, 2, 2, ColumnLabels::Shown, out));
    EXPECT_FALSE(print_labelled_matrix_with_summary(values, values, ab, ab, 2, 2, SummaryKind::Mean,
                                                    ColumnLabels::Shown, out));
    EXPECT_TRUE(out.lines.empty());
    EXPECT_TRUE(print_labelled_int_matrix(counts, ab, ab, 2, 1, ColumnLabels::Omitted, out));
    set_storage_limit(0);
    EXPECT_EQ(out.lines.size(), 4u);
}

}  // namespace
}  // namespace marvist
