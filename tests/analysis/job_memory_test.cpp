// Jobs under a limit on the address space of the process: what the job's
// up-front sizing counts is all that grows with the job, and an allocation
// that fails anywhere inside a job ends it with the memory error (37).
//
// Each job runs in a child process whose address space is limited with
// setrlimit(RLIMIT_AS); the child reports back through a pipe.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <exception>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "analysis/driver.h"
#include "analysis/job_arrays.h"
#include "support/test_support.h"

namespace marvist {
namespace {

constexpr std::uint64_t kMiB = 1024 * 1024;
// The last line of the input table's heading, written before the counts are read.
const std::string kInputTableRule = " " + std::string(78, '\xC4');

// Bytes of address space the process holds now.
std::uint64_t address_space_in_use() {
    std::ifstream statm("/proc/self/statm");
    std::uint64_t pages = 0;
    statm >> pages;
    return pages * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
}

// Runs body in a child process that may use `headroom` bytes of address
// space beyond what it holds when it starts. Returns what body returned,
// "exception: ..." when an exception left it, or how the child ended.
std::string in_child_with_headroom(std::uint64_t headroom, const std::function<std::string()>& body) {
    int fds[2];
    if (pipe(fds) != 0) return "no pipe";
    const pid_t pid = fork();
    if (pid < 0) return "no fork";
    if (pid == 0) {
        close(fds[0]);
        std::string result;
        const rlim_t limit = address_space_in_use() + headroom;
        const rlimit rl{limit, limit};
        if (setrlimit(RLIMIT_AS, &rl) != 0) {
            result = "setrlimit failed";
        } else {
            try {
                result = body();
            } catch (const std::exception& e) {
                result = std::string("exception: ") + e.what();
            }
        }
        const ssize_t written = write(fds[1], result.data(), result.size());
        _exit(written == static_cast<ssize_t>(result.size()) ? 0 : 1);
    }
    close(fds[1]);
    std::string result;
    char chunk[4096];
    for (ssize_t n; (n = read(fds[0], chunk, sizeof chunk)) > 0;) result.append(chunk, static_cast<std::size_t>(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFSIGNALED(status)) return result + "killed by signal " + std::to_string(WTERMSIG(status));
    return result;
}

struct JobsUnderAMemoryLimit : ::testing::Test, test::JobFolder {
    void SetUp() override {
        if (test::under_address_sanitizer())
            GTEST_SKIP() << "AddressSanitizer reserves terabytes of address space, so no limit on it can be set";
    }

    // The job's codes, whether the closing block names the memory error, and
    // the listing's last line, as one text.
    std::string outcome(JobRecord job) {
        run(job);
        std::string text;
        for (const ErrorCode code : sink.codes) text += std::to_string(static_cast<int>(code)) + " ";
        if (std::count(sink.errors.begin(), sink.errors.end(), "                 M E M O R Y   E R R O R S") == 1)
            text += "memory-errors ";
        const std::vector<std::string> lines = listing("m");
        text += "| " + (lines.empty() ? std::string("<empty listing>") : lines.back());
        return text;
    }
};

// A 2 x 2 table with ten million supplementary predictors, whose data file
// ends after two short rows: the job may use what its sizing counts and a
// little for its files and records. Reading ends with 510, not with the
// system's memory running out (the free-format reader kept 24 bytes per
// value that were not counted).
TEST_F(JobsUnderAMemoryLimit, AJobNeedsNoMoreThanItsSizingCounts) {
    constexpr int kSupp = 9'999'999;
    std::uint64_t counted = 0;
    ASSERT_TRUE(job_storage_bytes(2, 2, kSupp, 2 + kSupp, counted));
    test::write_file(dir.file("m.dat"), "1 2 0\n3 4 0\n");
    JobRecord job = test::job_record("m", "many predictors", 2, "R", 2, "C");
    job.n_supp = kSupp;
    const std::string result = in_child_with_headroom(counted + 16 * kMiB, [&] { return outcome(job); });
    EXPECT_EQ(result, "510 999 | " + kInputTableRule);
}

// A data line of 32 MiB with only a few MiB to spare: the record cannot be
// held. The job ends with 37 and its closing lines, and the listing is
// closed with what was written before the read.
TEST_F(JobsUnderAMemoryLimit, AnAllocationFailingInsideTheJobIsTheMemoryError) {
    std::uint64_t counted = 0;
    ASSERT_TRUE(job_storage_bytes(2, 2, 1, 2, counted));
    test::write_file(dir.file("m.dat"), std::string(32 * kMiB, ' ') + "1 2\n3 4\n");
    const JobRecord job = test::job_record("m", "a long line", 2, "R", 2, "C");
    const std::string result = in_child_with_headroom(counted + 8 * kMiB, [&] { return outcome(job); });
    EXPECT_EQ(result, "37 999 memory-errors | " + kInputTableRule);
}

}  // namespace
}  // namespace marvist
