// Output files written whole or not at all.
#include "base/files_into_place.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "support/test_support.h"

namespace marvist {
namespace {

namespace fs = std::filesystem;

TEST(FilesIntoPlace, FoldersAreMadeAndFilesReplacedWhole) {
    test::TempDir dir;
    const fs::path out = dir.path() / "a" / "b";
    EXPECT_FALSE(create_folder(out));
    EXPECT_TRUE(fs::is_directory(out));
    EXPECT_FALSE(create_folder(out));  // already there
    test::write_file((out / "one.svg").string(), "old");
    test::write_file((out / "keep.txt").string(), "mine");

    const std::vector<FileToWrite> files{{out / "one.svg", "new one"}, {out / "two.svg", std::string(100000, 'x')}};
    EXPECT_FALSE(write_files_into_place(files));
    EXPECT_EQ(test::read_file((out / "one.svg").string()), "new one");
    EXPECT_EQ(test::read_file((out / "two.svg").string()).size(), 100000u);
    EXPECT_EQ(test::folder_files(out), (std::set<std::string>{"keep.txt", "one.svg", "two.svg"}));
}

// A folder where a file stands, a folder under a file, and a file that
// cannot be written: the path and the reason; no file renamed into place
// and no temporary file left.
TEST(FilesIntoPlace, FailuresNameThePathAndLeaveNothingBehind) {
    test::TempDir dir;
    test::write_file(dir.file("plain"), "x");
    const auto not_folder = create_folder(dir.path() / "plain");
    ASSERT_TRUE(not_folder);
    EXPECT_EQ(not_folder->path, dir.file("plain"));
    EXPECT_EQ(not_folder->reason, "it exists and is not a folder");
    const auto under_file = create_folder(dir.path() / "plain" / "sub");
    ASSERT_TRUE(under_file);
    EXPECT_FALSE(under_file->reason.empty());

    // The second file's folder does not exist: the first is not renamed
    // into place either.
    const std::vector<FileToWrite> files{{dir.path() / "first.svg", "1"}, {dir.path() / "missing" / "second.svg", "2"}};
    const auto failed = write_files_into_place(files);
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->path, (dir.path() / "missing" / "second.svg").string());
    EXPECT_EQ(failed->reason, std::generic_category().message(ENOENT));
    EXPECT_EQ(test::folder_files(dir.path()), (std::set<std::string>{"plain"}));
}

}  // namespace
}  // namespace marvist
