// The labelled matrix printers: blocks of ten, row keys, one-row forms,
// fields that overflow, and the memory error.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "listing/cp437.h"
#include "listing/fixed_text.h"
#include "listing/matrix_print.h"
#include "listing/record_io.h"
#include "listing/storage.h"
#include "support/test_support.h"

namespace marvist {
namespace {

using Lines = std::vector<std::string>;

Lines labels(std::initializer_list<const char*> names) {
    Lines v;
    for (const char* name : names) v.push_back(fixed(name, 6));
    return v;
}

struct Printers : ::testing::Test {
    CapturedRecords out;
    test::CapturingReportSink sink;
    RunState rs;
    void SetUp() override { rs.reports = &sink; }
    Lines lines() const {
        Lines v;
        for (const std::string& line : out.lines) v.push_back(cp437_to_utf8(line));
        return v;
    }
};

TEST_F(Printers, RealAndSummaryTablesLineForLine) {
    const double values[] = {0.25, 0.5, 12.0, 0.75, 0.5, -1.5};
    print_labelled_matrix(values, labels({"rowA", "rowB", "rowC"}), labels({"colA", "colB"}), 3, 2, 0, 0, out, rs);
    const double centred[] = {-0.05, 0.05, 1.0 / 30.0, -1.0 / 30.0}, mean[] = {0.3, 0.7};
    print_labelled_matrix_with_summary(centred, mean, labels({"rowA", "rowB"}), labels({"colA", "colB"}), 2, 2, 2, 0,
                                       out, rs);
    EXPECT_EQ(lines(), (Lines{" NO. L  LABEL │     1      2 ", "              │ colA   colB  ",
                              " ─────────────┼──────────────", "  1  1 rowA   │  0.250  0.750",
                              "  2  2 rowB   │  0.500  0.500", "  3  3 rowC   │ 12.000 -1.500",
                              " NO. L  LABEL │  Mean  │     1      2 ", "              │        │ colA   colB  ",
                              " ─────────────┼────────┼──────────────", "  1  1 rowA   │  0.300 │ -0.050  0.033",
                              "  2  2 rowB   │  0.700 │  0.050 -0.033"}));
    EXPECT_EQ(out.lines[0][14], '\xB3');  // drawing characters are single code-page-437 bytes
    EXPECT_EQ(out.lines[2][14], '\xC5');
    EXPECT_EQ(rs.fatal_state, kFatalNone);
}

TEST_F(Printers, BlocksOfTenColumnsWithKeysRestartingInEachBlock) {
    const int nrow = 100, ncol = 11;
    std::vector<std::int32_t> values;
    for (int j = 1; j <= ncol; ++j)
        for (int i = 1; i <= nrow; ++i) values.push_back(i * 100 + j);
    const Lines rows(nrow, fixed("lab", 6)), cols(ncol, fixed("c", 6));
    print_labelled_int_matrix(values.data(), rows, cols, nrow, ncol, 1, out, rs);
    const Lines l = lines();
    ASSERT_EQ(l.size(), 2u * (2 + nrow) + 1);
    EXPECT_EQ(l[0], " NO. L  LABEL │     1      2      3      4      5      6      7      8      9     10 ");
    EXPECT_EQ(l[2], "  1  1 lab    │    101    102    103    104    105    106    107    108    109    110");
    EXPECT_EQ(l[1 + 35].substr(0, 24), " 35  Z lab    │   3501");
    EXPECT_EQ(l[1 + 36].substr(0, 24), " 36  1 lab    │   3601");
    EXPECT_EQ(l[1 + 100].substr(0, 24), " **  U lab    │  10001");  // row numbers of 100 and more overflow I2
    EXPECT_EQ(l[102], "");
    EXPECT_EQ(Lines(l.begin() + 103, l.begin() + 106),
              (Lines{" NO. L  LABEL │    11 ", " ─────────────┼───────", "  1  1 lab    │    111"}));
    EXPECT_EQ(l[104 + 12], " 12  C lab    │   1211");
}

TEST_F(Printers, OneRowFormsAndOverflowingFields) {
    const double reals[] = {123.456, -12.345, 1000.0, -100.0, 999.9994, -99.9994, 0, 0, 0, 0, 0.5};
    print_labelled_matrix(reals, {}, Lines(11, fixed("", 6)), 1, 11, 1, 0, out, rs);
    const std::int64_t counts[] = {1234567, -123456, 3000000000};
    print_labelled_int_matrix(counts, {}, labels({"a", "b", "c"}), 1, 3, 0, out, rs);
    const double values[] = {0.25, 0.75}, mean[] = {0.3};
    print_labelled_matrix_with_summary(values, mean, {}, labels({"colA", "colB"}), 1, 2, 1, 0, out, rs);
    EXPECT_EQ(lines(), (Lines{"      1      2      3      4      5      6      7      8      9     10 ",
                              " ──────────────────────────────────────────────────────────────────────",
                              " 123.456-12.345**************999.999-99.999  0.000  0.000  0.000  0.000",
                              "", "     11 ", " ───────", "   0.500",
                              "      1      2      3 ", "  a      b      c     ", " ─────────────────────",
                              " 1234567-123456*******",
                              "  Sum   │     1      2 ", "        │ colA   colB  ", " ───────┼──────────────",
                              "   0.300 │  0.250  0.750"}));
    // The value line of the one-row summary form has its bar one place further right.
    EXPECT_EQ(out.lines[11].find('\xB3'), 8u);
    EXPECT_EQ(out.lines[14].find('\xB3'), 9u);
}

TEST_F(Printers, MissingStorageWritesNothingAndIsFatal) {
    const double values[] = {1, 2, 3, 4};
    const std::int32_t counts[] = {1, 2, 3, 4};
    set_storage_limit(8);  // one column number fits, two do not
    print_labelled_matrix(values, labels({"a", "b"}), labels({"x", "y"}), 2, 2, 0, 0, out, rs);
    print_labelled_int_matrix(counts, labels({"a", "b"}), labels({"x", "y"}), 2, 2, 0, out, rs);
    print_labelled_matrix_with_summary(values, values, labels({"a", "b"}), labels({"x", "y"}), 2, 2, 2, 0, out, rs);
    EXPECT_TRUE(out.lines.empty());
    EXPECT_EQ(std::count(sink.errors.begin(), sink.errors.end(), "                 M E M O R Y   E R R O R S"), 3);
    EXPECT_EQ(rs.fatal_state, kFatal);
    print_labelled_int_matrix(counts, labels({"a", "b"}), labels({"x"}), 2, 1, 1, out, rs);
    set_storage_limit(0);
    EXPECT_EQ(out.lines.size(), 4u);
}

}  // namespace
}  // namespace marvist
