// Files renamed into place only when complete: nothing half-written under a
// final name, nothing left behind, other files untouched.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "base/staged_file.h"
#include "support/test_support.h"

namespace marvist {
namespace {

namespace fs = std::filesystem;

TEST(StagedFile, ReplacesTheFinalFileOnlyWhenComplete) {
    test::TempDir dir;
    test::write_file(dir.file("a.csv"), "old");
    test::write_file(dir.file("notes.txt"), "mine");
    std::vector<StagedFile> files;
    files.emplace_back(dir.path() / "a.csv");
    files.emplace_back(dir.path() / "b.csv");
    ASSERT_TRUE(files[0].write("new a"));
    ASSERT_TRUE(files[1].write("new b"));
    EXPECT_EQ(test::read_file(dir.file("a.csv")), "old");  // still the old file while writing
    EXPECT_FALSE(fs::exists(dir.path() / "b.csv"));
    EXPECT_FALSE(commit_all(files));
    EXPECT_EQ(test::read_file(dir.file("a.csv")), "new a");
    EXPECT_EQ(test::read_file(dir.file("b.csv")), "new b");
    EXPECT_EQ(test::read_file(dir.file("notes.txt")), "mine");
    EXPECT_EQ(test::folder_files(dir.path()), (std::set<std::string>{"a.csv", "b.csv", "notes.txt"}));
}

TEST(StagedFile, AnAbandonedFileLeavesNothing) {
    test::TempDir dir;
    test::write_file(dir.file("a.csv"), "old");
    {
        StagedFile file(dir.path() / "a.csv");
        ASSERT_TRUE(file.write("half"));
        StagedFile second(dir.path() / "a.csv");  // a second temporary name beside the first
        ASSERT_FALSE(second.error());
    }
    EXPECT_EQ(test::folder_files(dir.path()), (std::set<std::string>{"a.csv"}));
    EXPECT_EQ(test::read_file(dir.file("a.csv")), "old");
}

TEST(StagedFile, AFileThatCannotBeMadeIsNamedWithTheReason) {
    test::TempDir dir;
    test::write_file(dir.file("plain"), "a file, not a folder");
    StagedFile file(dir.path() / "plain" / "a.csv");
    ASSERT_TRUE(file.error());
    EXPECT_EQ(file.error()->path, (dir.path() / "plain" / "a.csv").string());
    EXPECT_EQ(file.error()->reason, std::generic_category().message(ENOTDIR));
    EXPECT_FALSE(file.write("x"));
}

// A disk that fills up halfway: the size limit of the process makes the
// second file's writes fail (EFBIG) even for root.
TEST(StagedFile, AFailedWriteRenamesNothing) {
    test::TempDir dir;
    test::write_file(dir.file("a.csv"), "old a");
    std::vector<StagedFile> files;
    files.emplace_back(dir.path() / "a.csv");
    files.emplace_back(dir.path() / "b.csv");
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previous_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    files[0].write("new a");
    files[1].write(std::string(3 << 20, 'x'));  // more than the buffer holds
    const std::optional<OutputError> error = commit_all(files);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous_handler);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->path, (dir.path() / "b.csv").string());
    EXPECT_EQ(error->reason, std::generic_category().message(EFBIG));
    EXPECT_TRUE(files.empty());
    EXPECT_EQ(test::folder_files(dir.path()), (std::set<std::string>{"a.csv"}));
    EXPECT_EQ(test::read_file(dir.file("a.csv")), "old a");
}

}  // namespace
}  // namespace marvist
