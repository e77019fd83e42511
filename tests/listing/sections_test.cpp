// The listing's sections where the golden listings do not reach them: the
// copies on the standard output, tau 0, the homogenisation's outcomes and
// rounding, halves in the symmetry tables, and an NSCA section that stops
// where its analysis stopped. Jobs run from memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "base/cp437.h"
#include "listing/nsca_listing.h"
#include "support/test_support.h"

namespace marvist {
namespace {

using Lines = std::vector<std::string>;

// A job on an I x J table in memory with the analyses asked for.
test::MemoryJob job_on(int I, int J, const std::vector<std::int32_t>& by_rows, int do_homogenise = 0,
                       int do_symmetry = 0) {
    test::MemoryJob run;
    run.job = test::job_record("mem", "In memory", I, "Rows", J, "Columns");
    run.job.do_homogenise = do_homogenise;
    run.job.do_symmetry = do_symmetry;
    TableInput table;
    table.counts = test::counts_of(I, J, by_rows);
    test::run_in_memory(run, table);
    return run;
}

// The lines from the one that precedes `title` by `before` lines, n of them
// (or to the end).
Lines from(const Lines& lines, const std::string& title, std::size_t before, std::size_t n = 100000) {
    const auto at = std::find(lines.begin(), lines.end(), title);
    EXPECT_NE(at, lines.end()) << title;
    if (at == lines.end()) return {};
    const auto first = at - static_cast<long>(before);
    return Lines(first,
                 first + static_cast<long>(std::min<std::size_t>(n, static_cast<std::size_t>(lines.end() - first))));
}

const std::string kCentred = " Centred column profiles";
const std::string kHomogenise = "               Homogenise margins of input contingency table";

// The console gets a copy of the result blocks: the section without the
// centred profiles and the two contribution vectors.
TEST(DependenceSection, ResultBlocksAreCopiedToTheConsole) {
    const test::MemoryJob run = job_on(2, 2, {10, 20, 30, 40});
    const Lines l = from(run.listing.lines, kCentred, 1, 8 + 3 + 12 + 19);
    ASSERT_EQ(l.size(), 8u + 3u + 12u + 19u);
    Lines copied(l.begin() + 8, l.begin() + 11);
    copied.insert(copied.end(), l.begin() + 23, l.end());
    EXPECT_EQ(run.console.lines, copied);
    EXPECT_TRUE(run.reports.codes.empty());
}

// Tau 0: every contribution printed as 0, the warning after the analysis of
// variance, NSCA skipped.
TEST(DependenceSection, TauZeroWarnsAfterTheSection) {
    test::MemoryJob run = job_on(2, 3, {1, 2, 3, 2, 4, 6});
    const Lines l = from(run.listing.lines, kCentred, 1);
    EXPECT_EQ(l.at(3 + 5 + 3 + 5), "   0.000  0.000  0.000");
    EXPECT_EQ(l.at(3 + 5 + 3 + 6 + 5), "   0.000  0.000");
    EXPECT_EQ(l.at(40), " Tau = MS(Between)/MS(Total)");
    EXPECT_EQ(run.results.fatal_state, FatalState::SkipNsca);
    EXPECT_EQ(run.reports.codes, (std::vector<ErrorCode>{ErrorCode::TauZero}));
    EXPECT_EQ(run.reports.errors.at(2), " Tau is 0, thus rows and columns are perfectly independent.");
}

TEST(HomogenisationSection, ConvergedTableAndTheConsoleCounter) {
    const test::MemoryJob run = job_on(3, 2, {10, 0, 0, 10, 5, 5}, 1);
    const Lines l = from(run.listing.lines, kHomogenise, 2);
    EXPECT_EQ(l.at(6), " Iteration for homogenising the margins has converged in   2 steps");
    EXPECT_EQ(Lines(l.begin() + 14, l.begin() + 17),
              (Lines{"  1  1        \xB3     10      0", "  2  2        \xB3      0     10",
                     "  3  3        \xB3      5      5"}));
}

// The console gets the banner, a line per sweep (each overprinting the one
// before) and the outcome.
TEST(HomogenisationSection, ZeroCellStopsAtTheIterationLimit) {
    const test::MemoryJob run = job_on(2, 2, {1, 0, 1, 1}, 1);
    const Lines l = from(run.listing.lines, kHomogenise, 2);
    const Lines c = from(run.console.lines, kHomogenise, 2);
    const Lines limit{"", " Maximum number of iterations ( 201) reached", ""};
    EXPECT_EQ(Lines(l.begin() + 5, l.begin() + 8), limit);
    ASSERT_EQ(c.size(), 5u + 201u + 3u);
    EXPECT_EQ(Lines(c.begin(), c.begin() + 5), Lines(l.begin(), l.begin() + 5));
    EXPECT_EQ(c[5], " Iteration    1");
    EXPECT_EQ(c[205], "+Iteration  201");
    EXPECT_EQ(Lines(c.end() - 3, c.end()), limit);
    EXPECT_EQ(l.at(14).substr(l[14].size() - 7), "      0");  // the zero stays zero
}

// Targets and average are rounded half up; a row target above 32 bits
// overflows its field rather than wrapping.
TEST(HomogenisationSection, TargetsAndAverage) {
    const Lines tail{"",
                     " Values of row marginals        4",
                     "",
                     " Values of column marginals        2",
                     "",
                     " Average value for entry in table        1",
                     " Values deviating from the average indicate presence of interaction",
                     ""};
    const test::MemoryJob small = job_on(2, 3, {1, 2, 1, 1, 1, 1}, 1);  // N = 7
    EXPECT_EQ(from(small.listing.lines, tail[1], 1, tail.size()), tail);
    const test::MemoryJob large = job_on(2, 30, std::vector<std::int32_t>(60, 80000000), 1);  // N = 4.8e9
    EXPECT_EQ(from(large.listing.lines, " Values of row marginals ********", 0, 1).size(), 1u);
    EXPECT_EQ(from(large.listing.lines, " Average value for entry in table 80000000", 0, 1).size(), 1u);
}

// Rows (2, 3) and (0, 1): halves off the diagonal, K signed as the cell over
// its mirror.
TEST(SymmetrySection, OddDifferencesGiveHalves) {
    const test::MemoryJob run = job_on(2, 2, {2, 3, 0, 1}, 0, 1);
    const Lines l = from(run.listing.lines, "                      Analysis of symmetry and skew-symmetry", 2);
    ASSERT_EQ(l.size(), 29u + 3u);  // and the closing line
    EXPECT_EQ(cp437_to_utf8(l[12]), "  1  1        │    2.0    1.5");
    EXPECT_EQ(l[19], "     3.5    2.5");
    EXPECT_EQ(cp437_to_utf8(l[27]), "  1  1        │    0.0    1.5");
    EXPECT_EQ(cp437_to_utf8(l[28]), "  2  2        │   -1.5    0.0");
}

// The section follows its analysis: no storage, nothing; no storage for the
// decomposition, the heading; no convergence, the heading and the one line.
TEST(NscaSection, StopsWhereItsAnalysisStopped) {
    JobResults results;
    results.table.I = 4;
    results.table.J = 3;
    results.table.row_labels = results.table.col_labels = Vector<std::string>(4);
    results.nsca = NscaResult{};
    results.nsca->ierr = 3;
    const struct {
        NscaFailure failure;
        std::size_t lines;
    } cases[] = {{NscaFailure::NoStorage, 0}, {NscaFailure::NoDecompositionStorage, 5}, {NscaFailure::NotConverged, 6}};
    for (const auto& c : cases) {
        results.nsca->failure = c.failure;
        CapturedRecords listing;
        ListingStatus status;
        write_nsca(listing, results, status);
        EXPECT_EQ(listing.lines.size(), c.lines);
        EXPECT_TRUE(status.ok());
    }
    CapturedRecords listing;
    ListingStatus status;
    write_nsca(listing, results, status);
    EXPECT_EQ(listing.lines.back(), " Trouble. Error(s) in SVD routine: IERR =    3");
}

}  // namespace
}  // namespace marvist
