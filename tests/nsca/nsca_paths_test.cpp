// Whole listings are the same byte for byte whether the NSCA replays the
// vectors of its axes (the fast path) or takes every vector from svd(): a
// few hundred generated tables of the kinds that stress the replay, a large
// table, and a decomposition that does not converge. (The golden jobs run
// on both paths in nsca_golden_test.cpp.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "analysis/driver.h"
#include "nsca/calsvd.h"
#include "nsca/svd_axes.h"
#include "support/test_support.h"
#include "svd_cases.h"
#include "test_tables.h"

namespace marvist {
namespace {

// Whether the NSCA of the table, with the axes asked for, replays its vectors.
bool took_fast_path(const Matrix<std::int32_t>& table, int axes) {
    const int I = static_cast<int>(table.rows()), J = static_cast<int>(table.cols());
    Vector<double> W(J), work(J);
    SortedSvd out;
    int ierr = 0;
    decompose_sorted(test::nsca_matrix(table), W, work, std::max(I, J), I, J, axes, SvdPath::Fast, out, ierr);
    return out.path == SvdPath::Fast;
}

struct NscaPaths : ::testing::Test, test::JobFolder {
    // Runs the job on the given path; returns its listing, whole.
    std::string run(JobRecord job, SvdPath path, const std::string& name) {
        context.svd_path = path;
        JobFolder::run(job);
        return test::read_file(dir.file(name + ".out"));
    }
};

// Tables of every kind and many shapes, with 1 to 4 axes, on both paths;
// every third job also homogenises the margins and analyses symmetry.
TEST_F(NscaPaths, GeneratedTablesListTheSameOnBothPaths) {
    int jobs = 0, fast_jobs = 0;
    for (test::TableKind kind : test::kAllKinds) {
        for (unsigned seed = 1; seed <= 40; ++seed) {
            const int I = 2 + static_cast<int>((seed * 7 + 3) % 13), J = 2 + static_cast<int>((seed * 5 + 1) % 11);
            const Matrix<std::int32_t> table = test::make_table(kind, I, J, 1000 + seed);
            const int rows = static_cast<int>(table.rows()), cols = static_cast<int>(table.cols());
            std::string name = std::to_string(jobs);
            name.insert(0, "t");
            test::write_file(dir.file(name + ".dat"), test::table_text(table));
            JobRecord j = test::job_record(name, test::kind_name(kind), rows, "Rows", cols, "Columns");
            j.do_nsca = 1;
            j.n_axes = 1 + static_cast<int>(seed % 4);
            j.do_homogenise = j.do_symmetry = seed % 3 == 0 ? 1 : 0;
            SCOPED_TRACE(::testing::Message()
                         << test::kind_name(kind) << " " << rows << "x" << cols << " seed " << seed);
            const std::string full = run(j, SvdPath::Full, name);
            const std::string fast = run(j, SvdPath::Fast, name);
            EXPECT_EQ(fast, full);
            ++jobs;
            fast_jobs += took_fast_path(table, std::min(j.n_axes, std::min(rows, cols) - 1)) ? 1 : 0;
        }
    }
    EXPECT_EQ(jobs, 320);
    EXPECT_GT(fast_jobs, 100) << "the corpus must exercise the replayed vectors";
}

// Large enough that the reduction is shared among threads.
TEST_F(NscaPaths, LargeTableListsTheSameOnBothPaths) {
    const Matrix<std::int32_t> table = test::make_table(test::TableKind::Random, 260, 240, 77);
    test::write_file(dir.file("large.dat"), test::table_text(table));
    JobRecord j = test::job_record("large", "Large", 260, "Rows", 240, "Columns");
    j.do_nsca = 1;
    j.n_axes = 3;
    EXPECT_EQ(run(j, SvdPath::Fast, "large"), run(j, SvdPath::Full, "large"));
}

// calsvd on a matrix whose decomposition needs more than 30 sweeps: the
// same failure, IERR and singular values on both paths (the listing's
// "Trouble" line and error 50 follow from these alone).
TEST(NscaPathsCalsvd, NonConvergenceIsTheSameOnBothPaths) {
    const Matrix<double> A = test::needs_more_than_thirty_sweeps();
    ErrorCode code[2];
    int ierr[2] = {0, 0};
    Vector<double> W[2] = {Vector<double>(2), Vector<double>(2)};
    for (SvdPath path : {SvdPath::Full, SvdPath::Fast}) {
        const int p = path == SvdPath::Fast;
        Matrix<double> F(2, 1), G(2, 1);
        Vector<double> work(2);
        int n_axes = 1;
        InertiaTable table;
        code[p] = calsvd(A, F, G, W[p], work, 2, 2, 2, n_axes, table, ierr[p], path);
        EXPECT_EQ(n_axes, 1) << "unchanged on failure";
    }
    EXPECT_EQ(code[0], ErrorCode::SvdFailed);
    EXPECT_EQ(code[1], code[0]);
    EXPECT_EQ(ierr[0], 2);
    EXPECT_EQ(ierr[1], ierr[0]);
    EXPECT_EQ(std::memcmp(W[0].data(), W[1].data(), 2 * sizeof(double)), 0);
}

}  // namespace
}  // namespace marvist
