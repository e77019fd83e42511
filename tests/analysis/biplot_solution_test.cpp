// The joint plots' input taken from a job's results: the solution's
// coordinates, contributions and inertia shares, supplementary columns,
// the table's orientation, and the names the points carry.
#include "analysis/biplot_solution.h"

#include <gtest/gtest.h>

#include <cmath>

#include "analysis/driver.h"
#include "biplot/joint_plot.h"
#include "support/test_support.h"

namespace marvist {
namespace {

// The 4 x 3 worked table with a supplementary column that repeats column 2.
test::MemoryJob worked_table(int n_axes) {
    test::MemoryJob run;
    run.job = test::job_record("worked", "  Worked \x82xample", 4, "Response", 3, "Predictor");
    run.job.do_nsca = 1;
    run.job.n_axes = n_axes;
    run.job.n_supp = 1;
    TableInput table;
    table.counts = test::counts_of(4, 3, {10, 2, 3, 4, 12, 5, 1, 3, 9, 6, 6, 2});
    table.supp_counts = test::counts_of(4, 1, {2, 12, 3, 6});
    table.row_labels = {" First", "Sec\x82nd", "", "Fourth"};
    table.col_labels = {"A", "B", "C"};
    test::run_in_memory(run, table);
    return run;
}

TEST(BiplotSolution, CoordinatesContributionsAndSharesOfTheSolution) {
    const test::MemoryJob run = worked_table(2);
    const std::optional<BiplotSolution> s = biplot_solution(run.results);
    ASSERT_TRUE(s);
    const NscaResult& r = *run.results.nsca;
    ASSERT_EQ(s->inertia_shares.size(), 2u);
    ASSERT_EQ(s->rows.size(), 4u);
    ASSERT_EQ(s->columns.size(), 3u);
    // Two axes of a table with three columns hold all the inertia: the
    // shares are the squared singular values over their sum.
    const double l1 = r.singular_values(1) * r.singular_values(1), l2 = r.singular_values(2) * r.singular_values(2);
    EXPECT_NEAR(s->inertia_shares[0], l1 / (l1 + l2), 1e-12);
    EXPECT_NEAR(s->inertia_shares[1], l2 / (l1 + l2), 1e-12);
    EXPECT_EQ(s->title, "Worked \u00e9xample");
    EXPECT_EQ(s->row_variable, "Response");
    EXPECT_EQ(s->column_variable, "Predictor");

    for (int k = 1; k <= 2; ++k) {
        double rows = 0.0, columns = 0.0;
        for (int i = 1; i <= 4; ++i) {
            EXPECT_EQ(s->rows[i - 1].coordinates[k - 1], r.row_standard(i, k));
            rows += s->rows[i - 1].contributions[k - 1];
        }
        for (int j = 1; j <= 3; ++j) {
            EXPECT_EQ(s->columns[j - 1].coordinates[k - 1], r.col_principal(j, k));
            columns += s->columns[j - 1].contributions[k - 1];
        }
        // Each set of categories shares out each axis's inertia.
        EXPECT_NEAR(rows, 1.0, 1e-12);
        EXPECT_NEAR(columns, 1.0, 1e-12);
    }

    // The supplementary column repeats column B: it lands on B's point.
    ASSERT_EQ(s->supplementary.size(), 1u);
    EXPECT_EQ(s->supplementary[0].name, "Suppl");
    EXPECT_TRUE(s->supplementary[0].contributions.empty());
    for (int k = 0; k < 2; ++k) EXPECT_NEAR(s->supplementary[0].coordinates[k], s->columns[1].coordinates[k], 1e-12);
}

// In the plot: the axis titles carry the shares, reflection turns the
// solution's signs, the supplementary point is marked apart.
TEST(BiplotSolution, PlottedAsTheListingPlotsIt) {
    const test::MemoryJob run = worked_table(2);
    const BiplotSolution s = *biplot_solution(run.results);
    const JointPlot plot = build_joint_plot(s, listing_axis_pairs(2).front(), {.reflect_vertical = true});
    const auto& p = run.results.nsca->inertias.proportions;
    const std::string first = std::to_string(std::lround(1000.0 * p[0]));
    EXPECT_EQ(plot.horizontal_title, "Axis 1 (" + first.substr(0, first.size() - 1) + "." + first.back() + " %)");
    EXPECT_EQ(plot.vertical_title.rfind("Axis 2 (", 0), 0u);
    ASSERT_EQ(plot.points.size(), 8u);
    EXPECT_EQ(plot.points[1].x, run.results.nsca->row_standard(2, 1));
    EXPECT_EQ(plot.points[1].y, -run.results.nsca->row_standard(2, 2));
    EXPECT_EQ(plot.points[7].kind, PointKind::Supplementary);
    EXPECT_EQ(plot.points[6].kind, PointKind::Column);
}

TEST(BiplotSolution, NamesFromFullNamesLabelsOrNumbers) {
    const test::MemoryJob run = worked_table(1);
    const BiplotSolution labelled = *biplot_solution(run.results);
    EXPECT_EQ(labelled.inertia_shares.size(), 1u);
    EXPECT_EQ(labelled.rows[0].name, "First");
    EXPECT_EQ(labelled.rows[1].name, "Sec\u00e9nd");
    EXPECT_EQ(labelled.rows[2].name, "R3");  // a blank label
    EXPECT_EQ(labelled.columns[2].name, "C");

    const BiplotSolution named =
        *biplot_solution(run.results, {.rows = {"Primary school", "", "Tertiary"}, .columns = {"\u00c5lborg"}});
    EXPECT_EQ(named.rows[0].name, "Primary school");
    EXPECT_EQ(named.rows[1].name, "Sec\u00e9nd");
    EXPECT_EQ(named.rows[2].name, "Tertiary");
    EXPECT_EQ(named.rows[3].name, "Fourth");
    EXPECT_EQ(named.columns[0].name, "\u00c5lborg");
}

// With the columns dependent the plot's rows are the data file's columns.
TEST(BiplotSolution, TransposedTablesAndJobsWithoutASolution) {
    test::MemoryJob run;
    run.job = test::job_record("swap", "Swapped", 2, "Age", 3, "Paper");
    run.job.do_nsca = run.job.dependence = 1;
    run.job.n_axes = 1;
    TableInput table;
    table.counts = test::counts_of(2, 3, {20, 5, 9, 4, 15, 8});
    table.row_labels = {"young", "old"};
    table.col_labels = {"tab", "reg", "qual"};
    test::run_in_memory(run, table);
    const BiplotSolution s = *biplot_solution(run.results);
    EXPECT_EQ(s.row_variable, "Paper");
    EXPECT_EQ(s.column_variable, "Age");
    ASSERT_EQ(s.rows.size(), 3u);
    EXPECT_EQ(s.rows[2].name, "qual");
    EXPECT_EQ(s.columns[1].name, "old");

    test::MemoryJob plain;
    plain.job = test::job_record("plain", "No NSCA", 2, "Age", 3, "Paper");
    test::run_in_memory(plain, table);
    EXPECT_FALSE(biplot_solution(plain.results));
}

}  // namespace
}  // namespace marvist
