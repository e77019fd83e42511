// The batch runner as a program, run on copies of the examples.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <regex>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/batch/batch_run.h"
#include "app/batch/console_report_sink.h"
#include "base/cp437.h"
#include "base/storage.h"
#include "support/test_support.h"

namespace marvist {
namespace {

namespace fs = std::filesystem;
using test::read_file;
using test::TempDir;

struct RunResult {
    int status = -1;
    std::string out;
    std::vector<std::string> err;  // lines
};

// Runs marvist-run with args (quoted as needed) from the folder work_in;
// limits are shell commands run first (ulimit).
RunResult run_runner(const std::string& args, const TempDir& work_in, const std::string& limits = "true") {
    TempDir capture;
    const std::string command = "cd '" + work_in.path().string() + "' && " + limits + " && '" MARVIST_BINARY_DIR
                                "/marvist-run' " + args + " >'" + capture.file("out") + "' 2>'" +
                                capture.file("err") + "'";
    const int raw = std::system(command.c_str());
    return RunResult{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, read_file(capture.file("out")),
                     test::read_lines(capture.file("err"))};
}

// The files of an example copied into folder/.
void copy_example(const TempDir& dir, const std::string& folder, const std::string& stem) {
    fs::create_directories(dir.path() / folder);
    for (const char* ext : {".set", ".dat", ".lab"}) {
        const fs::path from = test::source_path("examples/" + stem + ext);
        if (fs::exists(from)) fs::copy_file(from, dir.path() / folder / (stem + ext));
    }
}

bool has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(Runner, ArgumentsAndUnreadableSetupFiles) {
    EXPECT_EQ(console_report_line(ReportWindow::Errors, " \xCD\xCD"), "E| \u2550\u2550");

    TempDir dir;
    const RunResult help = run_runner("--help", dir);
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: marvist-run [--show] SETUP_FILE", 0), 0u);
    for (const char* args : {"", "--bogus x.set", "a.set b.set", "--show"}) {
        const RunResult wrong = run_runner(args, dir);
        EXPECT_EQ(wrong.status, 2) << args;
        EXPECT_TRUE(has(wrong.err, "Usage: marvist-run [--show] SETUP_FILE")) << args;
    }
    const RunResult missing = run_runner("--show none.set", dir);
    EXPECT_EQ(missing.status, 2);
    EXPECT_TRUE(has(missing.err, "marvist-run: none.set: no such file"));
    test::write_file(dir.file("bad.set"), " title\n 5 Son\n 5 Father\n yes\n");
    EXPECT_EQ(run_runner("bad.set", dir).status, 2);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);  // bad.set only
}

// The listing without its date line, which changes from run to run.
std::string listing_without_date(const std::string& path) {
    std::string kept;
    for (const std::string& line : test::read_lines(path)) {
        if (line.find(" Date: ") == std::string::npos) kept += line + "\n";
    }
    return kept;
}

// Report lines without the banner's date line, which changes from run to run.
std::vector<std::string> without_date(std::vector<std::string> lines) {
    std::erase_if(lines, [](const std::string& line) { return line.find(" Date: ") != std::string::npos; });
    return lines;
}

// --plots writes one SVG per pair of axes that the listing plots, into a
// folder made for it, the same bytes each time and the listing as without
// it; --plot-axes asks for pairs of its own (those beyond the solution are
// named and left out).
TEST(Runner, PlotsOfTheListingsPairsOrOfThoseAskedFor) {
    TempDir dir;
    copy_example(dir, ".", "mobility");
    const RunResult plain = run_runner("mobility.set", dir);
    const std::string listing = listing_without_date(dir.file("mobility.out"));
    const RunResult run = run_runner("--plots out/pictures mobility.set", dir);
    EXPECT_EQ(listing_without_date(dir.file("mobility.out")), listing);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(without_date(run.err), without_date(plain.err));
    EXPECT_EQ(run.out, plain.out);
    EXPECT_EQ(test::folder_files(dir.path() / "out" / "pictures"), (std::set<std::string>{"joint-1-2.svg"}));
    const std::string svg = read_file(dir.file("out/pictures/joint-1-2.svg"));
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find(">Axis 1 (70.5 %)</text>"), std::string::npos);
    EXPECT_NE(svg.find(">Unskil</text>"), std::string::npos);
    EXPECT_EQ(run_runner("--plots out/pictures mobility.set", dir).status, 0);
    EXPECT_EQ(read_file(dir.file("out/pictures/joint-1-2.svg")), svg);

    // Four axes: the six pairs of the listing; then pairs of one's own.
    std::string setup = read_file(dir.file("mobility.set"));
    setup.replace(setup.rfind(" 2  "), 4, " 4  ");
    test::write_file(dir.file("four.set"), setup);
    EXPECT_EQ(run_runner("--plots four four.set", dir).status, 0);
    EXPECT_EQ(test::folder_files(dir.path() / "four"),
              (std::set<std::string>{"joint-1-2.svg", "joint-1-3.svg", "joint-1-4.svg", "joint-2-3.svg",
                                        "joint-2-4.svg", "joint-3-4.svg"}));
    const RunResult own = run_runner("--plot-axes 4,3 --plots own --plot-axes 1,5 --plot-axes 4,3 four.set", dir);
    EXPECT_EQ(own.status, 0);
    EXPECT_TRUE(has(own.err, "marvist-run: no joint plot of axes 1 and 5: the NSCA solution has 4 axes"));
    EXPECT_EQ(test::folder_files(dir.path() / "own"), (std::set<std::string>{"joint-4-3.svg"}));
}

// Jobs without a solution of two axes write no plot and say so, with the
// status of the job; a folder that cannot be made or written is status 4,
// the listing written all the same; wrong plot options are usage errors.
TEST(Runner, PlotsThatCannotBeWritten) {
    TempDir dir;
    copy_example(dir, ".", "mobility");
    std::string setup = read_file(dir.file("mobility.set"));
    test::write_file(dir.file("one.set"), std::string(setup).replace(setup.rfind(" 2  "), 4, " 1  "));
    test::write_file(dir.file("none.set"), std::string(setup).replace(setup.find(" 0 1 1 1"), 8, " 0 0 1 1"));
    const RunResult one = run_runner("--plots p1 one.set", dir);
    EXPECT_EQ(one.status, 0);
    EXPECT_TRUE(has(one.err, "marvist-run: no joint plots written: the NSCA solution has 1 axis"));
    const RunResult none = run_runner("--plots p0 none.set", dir);
    EXPECT_EQ(none.status, 0);
    EXPECT_TRUE(has(none.err, "marvist-run: no joint plots written: the job has no NSCA solution"));
    EXPECT_FALSE(fs::exists(dir.path() / "p1"));
    EXPECT_FALSE(fs::exists(dir.path() / "p0"));

    test::write_file(dir.file("taken"), "a file");
    fs::remove(dir.file("mobility.out"));
    const RunResult taken = run_runner("--plots taken mobility.set", dir);
    EXPECT_EQ(taken.status, 4);
    EXPECT_TRUE(has(taken.err, "marvist-run: cannot create the folder taken: it exists and is not a folder"));
    EXPECT_TRUE(fs::exists(dir.file("mobility.out")));
    // A folder that exists but takes no files (as root too).
    const RunResult proc = run_runner("--plots /proc/self mobility.set", dir);
    EXPECT_EQ(proc.status, 4);
    ASSERT_FALSE(proc.err.empty());
    EXPECT_EQ(proc.err.back().rfind("marvist-run: cannot write /proc/self/joint-1-2.svg: ", 0), 0u);

    for (const char* args : {"--plots", "--plot-axes 1,2 mobility.set", "--plots p --plot-axes 1,1 mobility.set",
                             "--plots p --plot-axes 0,2 mobility.set", "--plots p --plot-axes 1-2 mobility.set"}) {
        const RunResult wrong = run_runner(args, dir);
        EXPECT_EQ(wrong.status, 2) << args;
        EXPECT_TRUE(has(wrong.err, "Usage: marvist-run [--show] SETUP_FILE")) << args;
    }
    EXPECT_FALSE(fs::exists(dir.path() / "p"));
}

// The job runs in the set-up file's folder and writes nothing there but its
// listing, which --show prints as UTF-8 after the copies of result blocks.
// The rest of a line that a read has used is skipped, whatever it holds and
// however long it is; sizes far beyond the memory are the memory error.
TEST(Runner, RunsInTheSetupFilesFolderWithinTheLimitsOfItsInput) {
    TempDir dir;
    copy_example(dir, "jobs", "mobility");
    const RunResult run = run_runner("--show jobs/mobility.set", dir);
    EXPECT_EQ(run.status, 0);
    const std::set<std::string> files{"mobility.dat", "mobility.lab", "mobility.out", "mobility.set"};
    EXPECT_EQ(test::folder_files(dir.path() / "jobs"), files);
    EXPECT_FALSE(fs::exists(dir.file("mobility.out")));
    EXPECT_EQ(read_file(dir.file("jobs/mobility.set")), read_file(test::source_path("examples/mobility.set")));
    for (const std::string& line : run.err) EXPECT_TRUE(line.rfind("P|", 0) == 0 || line.rfind("E|", 0) == 0) << line;
    EXPECT_TRUE(has(run.err, "P| Succesful End of Marvist"));
    const std::string listing = read_file(dir.file("jobs/mobility.out"));
    ASSERT_NE(listing.find("\xCD\xCD\xCD"), std::string::npos);
    const std::string shown = cp437_to_utf8(listing);
    ASSERT_GT(run.out.size(), shown.size());
    EXPECT_EQ(run.out.substr(run.out.size() - shown.size()), shown);

    const std::string clean = listing_without_date(dir.file("jobs/mobility.out"));
    const std::string junk = std::string("\x00\xff\x1a\x01\r\t", 6) + std::string(1 << 20, '\xfe') + "\r";
    std::string data = read_file(dir.file("jobs/mobility.dat"));
    data.insert(data.find('\n'), " " + junk);
    data.pop_back();  // and no final line end
    test::write_file(dir.file("jobs/mobility.dat"), data);
    std::string labels = read_file(dir.file("jobs/mobility.lab"));
    labels.insert(30, std::string(48, ' ') + junk);  // after the five row labels
    labels.pop_back();
    test::write_file(dir.file("jobs/mobility.lab"), labels);
    ASSERT_EQ(run_runner("jobs/mobility.set", dir).status, 0);
    EXPECT_EQ(listing_without_date(dir.file("jobs/mobility.out")), clean);

    std::string setup = read_file(dir.file("jobs/mobility.set"));
    for (int k = 0; k < 2; ++k) setup.replace(setup.find("\n 5          "), 13, "\n 100000     ");
    test::write_file(dir.file("jobs/mobility.set"), setup);
    const RunResult huge = run_runner("jobs/mobility.set", dir);
    EXPECT_EQ(huge.status, 1);
    EXPECT_TRUE(has(huge.err, "E|                 M E M O R Y   E R R O R S"));
    EXPECT_TRUE(has(huge.err, "E| Marvist ended prematurely due to fatal errors"));
    EXPECT_EQ(test::folder_files(dir.path() / "jobs"), files);
}

// Under a limit on its memory the runner reports a job that runs out of it
// as the memory error, with the closing lines of a failed job: here a data
// line of 32 MiB that the limit leaves no room to hold.
TEST(Runner, RunningOutOfMemoryIsTheMemoryError) {
    if (test::under_address_sanitizer())
        GTEST_SKIP() << "AddressSanitizer reserves terabytes of address space, so no limit on it can be set";
    TempDir dir;
    copy_example(dir, ".", "mobility");
    test::write_file(dir.file("mobility.dat"), std::string(32 << 20, ' ') + read_file(dir.file("mobility.dat")));
    const RunResult run = run_runner("mobility.set", dir, "ulimit -v 32768");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(has(run.err, "E|                 M E M O R Y   E R R O R S"));
    EXPECT_TRUE(has(run.err, "E| Marvist ended prematurely due to fatal errors"));
    for (const std::string& line : run.err) EXPECT_TRUE(line.rfind("P|", 0) == 0 || line.rfind("E|", 0) == 0) << line;
    const std::vector<std::string> listing = test::read_lines(dir.file("mobility.out"));
    ASSERT_FALSE(listing.empty());
    EXPECT_EQ(listing.back(), " " + std::string(78, '\xC4'));  // under the heading of the input table
}

TEST(Runner, UserLayoutAndWarnings) {
    TempDir dir;
    copy_example(dir, ".", "readership");
    const RunResult run = run_runner("readership.set", dir);
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(read_file(dir.file("readership.out")).find(" New row variable: Newspaper   ; New column variable"),
              std::string::npos);
    EXPECT_EQ(run.out.find("Succesful end"), std::string::npos);  // no listing without --show

    std::string setup = read_file(dir.file("readership.set"));
    setup.replace(setup.rfind(" 2         1"), 2, " 5");  // five axes on a 4 x 5 table
    test::write_file(dir.file("readership.set"), setup);
    const RunResult warned = run_runner("readership.set", dir);
    EXPECT_EQ(warned.status, 0);
    EXPECT_TRUE(has(warned.err, "E|  W A R N I N G "));

    // A number field beyond digits and blanks is read by the digit rule, with
    // a warning before the job; the exit status is the job's.
    setup.replace(setup.find(" 5          Agegroup"), 3, " 5:");  // ':' counts as 10
    test::write_file(dir.file("readership.set"), setup);
    const RunResult odd = run_runner("readership.set", dir);
    EXPECT_EQ(odd.status, 1);
    ASSERT_FALSE(odd.err.empty());
    EXPECT_EQ(odd.err.front(), "marvist-run: readership.set, line 2: Number of Rows holds \"5:\", not only digits and "
                               "blanks; it is read as 60");
    EXPECT_NE(read_file(dir.file("readership.out")).find("60"), std::string::npos);
    const std::string empty_name = std::regex_replace(setup, std::regex("\n readership\n"), "\n \n");
    test::write_file(dir.file("readership.set"), empty_name);
    const RunResult refused = run_runner("readership.set", dir);
    EXPECT_EQ(refused.status, 2);
    EXPECT_TRUE(has(refused.err, "marvist-run: readership.set: The job name is empty; it names the listing (.out) and "
                                 "the set-up file (.set)."));
    EXPECT_FALSE(fs::exists(dir.file(".out")));
}

// A plot stop ends the run with its message and status 3 (and no joint
// plots, which it says); the listing keeps what was written before the
// plot, in the set-up file's folder, while the process stays in its own. Run in-process: the raster is refused by a
// storage limit that the rest of this small job fits.
TEST(Runner, PlotStopEndsTheRunWithStatusThree) {
    TempDir dir;
    copy_example(dir, ".", "mobility");
    const fs::path previous = fs::current_path();
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    set_storage_limit(43 * 78 - 1);
    const int status = run_batch(dir.file("mobility.set"), {.plots = {.folder = dir.file("pictures")}}, out, err);
    set_storage_limit(0);
    EXPECT_EQ(fs::current_path(), previous);
    EXPECT_FALSE(fs::exists(previous / "mobility.out"));
    EXPECT_EQ(status, kBatchStop);

    std::string messages(4096, '\0');
    std::rewind(err);
    messages.resize(std::fread(messages.data(), 1, messages.size(), err));
    EXPECT_NE(messages.find("\nNOT ENOUGH STORAGE FOR PLOT; ABORTING...\n"
                            "marvist-run: no joint plots written: the program was stopped by a printer plot\n"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(dir.file("pictures")));
    const std::vector<std::string> listing = test::read_lines(dir.file("mobility.out"));
    ASSERT_FALSE(listing.empty());
    EXPECT_EQ(listing.back(), " COMPONENT  1  (HOR.) VERSUS COMPONENT  2  (VERT.)");
    std::fclose(out);
    std::fclose(err);
}

// --export writes the results beside a listing, copies of result blocks and
// reports that stay as they are without it; a folder that cannot be made is
// named with the reason and ends the run with status 4, the listing written.
TEST(Runner, ExportsTheResultsOrSaysWhyNot) {
    TempDir dir;
    copy_example(dir, "jobs", "mobility");
    const RunResult plain = run_runner("jobs/mobility.set", dir);
    ASSERT_EQ(plain.status, 0);
    const std::string listing = listing_without_date(dir.file("jobs/mobility.out"));
    const std::set<std::string> job_files = test::folder_files(dir.path() / "jobs");

    const RunResult exported = run_runner("--export results --permutations 200 --seed 5 jobs/mobility.set", dir);
    EXPECT_EQ(exported.status, 0);
    EXPECT_EQ(exported.out, plain.out);
    EXPECT_EQ(without_date(exported.err), without_date(plain.err));
    EXPECT_EQ(listing_without_date(dir.file("jobs/mobility.out")), listing);
    EXPECT_EQ(test::folder_files(dir.path() / "jobs"), job_files);
    EXPECT_EQ(test::folder_files(dir.path() / "results").size(), 17u);
    const std::string dependence = read_file(dir.file("results/dependence.csv"));
    EXPECT_EQ(dependence.rfind("measure,value,statistic,df,p_value,permutation_p_value,at_least_as_extreme,"
                               "permutations,seed\r\ntau_a,",
                               0),
              0u);
    EXPECT_NE(dependence.find(",200,5\r\n"), std::string::npos);

    const RunResult refused = run_runner("--export jobs/mobility.set/results jobs/mobility.set", dir);
    EXPECT_EQ(refused.status, 4);
    EXPECT_TRUE(has(refused.err, "marvist-run: cannot write the results to jobs/mobility.set/results: " +
                                     std::generic_category().message(ENOTDIR)));
    EXPECT_TRUE(has(refused.err, "P| Succesful End of Marvist"));
    EXPECT_EQ(listing_without_date(dir.file("jobs/mobility.out")), listing);
    EXPECT_EQ(test::folder_files(dir.path() / "jobs"), job_files);

    // A folder the user may not write into (root may write anywhere).
    if (geteuid() != 0) {
        fs::create_directory(dir.file("locked"));
        fs::permissions(dir.file("locked"), fs::perms::owner_read | fs::perms::owner_exec);
        const RunResult locked = run_runner("--export locked jobs/mobility.set", dir);
        fs::permissions(dir.file("locked"), fs::perms::owner_all);
        EXPECT_EQ(locked.status, 4);
        EXPECT_TRUE(has(locked.err, "marvist-run: cannot write the results to locked/table.csv: " +
                                        std::generic_category().message(EACCES)));
        EXPECT_TRUE(fs::is_empty(dir.file("locked")));
    }

    fs::remove(dir.file("jobs/mobility.dat"));
    const RunResult failed = run_runner("--export again jobs/mobility.set", dir);
    EXPECT_EQ(failed.status, 1);
    EXPECT_TRUE(has(failed.err, "marvist-run: no results exported: the job did not end normally"));
    EXPECT_FALSE(fs::exists(dir.file("again")));

    for (const char* args : {"--export", "--permutations 5 jobs/mobility.set", "--export r --permutations -3 jobs/mobility.set",
                             "--export r --permutations 1e3 jobs/mobility.set",
                             "--export r --seed 18446744073709551616 jobs/mobility.set", "--export '' jobs/mobility.set"}) {
        const RunResult wrong = run_runner(args, dir);
        EXPECT_EQ(wrong.status, 2) << args;
        EXPECT_TRUE(has(wrong.err, "Usage: marvist-run [--show] SETUP_FILE")) << args;
        EXPECT_FALSE(fs::exists(dir.file("r"))) << args;
    }
}

}  // namespace
}  // namespace marvist
