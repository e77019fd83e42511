#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "base/cp437.h"
#include "base/layout.h"
#include "base/record_io.h"
#include "support/test_support.h"

namespace marvist {
namespace {

using Lines = std::vector<std::string>;

Lines all_records(RecordSource& in) {
    Lines out;
    std::string r;
    while (in.next_record(r)) out.push_back(r);
    return out;
}

TEST(OutputFile, WritesRecordsAndReportsFailures) {
    test::TempDir dir;
    const std::string path = dir.file("listing.out");
    test::write_file(path, "old contents that must disappear\n");
    OutputFile out;
    ASSERT_TRUE(out.open(path));
    write_records(out, "(' Value: ',$)");
    write_records(out, "(I3)", {7});
    // Enough lines to pass through the internal buffer several times.
    for (int k = 0; k < 5000; ++k) write_records(out, "(' ',I2,1X,A6,1X,'│',F7.3)", {k % 100, "lab   ", 0.5});
    EXPECT_TRUE(out.close());
    EXPECT_TRUE(out.close());  // closing again does nothing
    const Lines lines = test::read_lines(path);
    ASSERT_EQ(lines.size(), 5001u);
    EXPECT_EQ(lines[0], " Value:   7");
    EXPECT_EQ(lines[5000], " 99 lab    \xB3  0.500");
    EXPECT_EQ(test::read_file(path).size(), 12u + 5000u * 20u);

    EXPECT_FALSE(out.open(dir.file("no-such-folder/x.out")));
    out.put_record("dropped", true);
    ASSERT_TRUE(out.open("/dev/full"));  // the data cannot be written: close says so
    for (int k = 0; k < 10; ++k) out.put_record(std::string(1000, 'x'), true);
    EXPECT_FALSE(out.close());
}

// A file that held more than is written over it keeps nothing of the rest,
// even while the job is still writing: it is emptied on opening, so a job
// stopped part way never leaves an older listing's tail behind its lines.
// Files that are not regular (a device) take the text as before.
TEST(OutputFile, AnOldLongerFileKeepsNothingOfItsRest) {
    test::TempDir dir;
    const std::string path = dir.file("listing.out");
    for (const std::size_t old_size : {std::size_t{10}, std::size_t{100000}, std::size_t{3000000}}) {
        test::write_file(path, std::string(old_size, 'o'));
        OutputFile out;
        ASSERT_TRUE(out.open(path));
        EXPECT_EQ(test::read_file(path).size(), 0u);
        write_records(out, "(' first')");
        ASSERT_TRUE(out.flush());
        EXPECT_EQ(test::read_file(path), " first\n");
        std::string expected = " first\n";
        for (int k = 0; k < 20000; ++k) {
            write_records(out, "(I6,' second',$)", {k});
            expected += std::to_string(k).insert(0, 6 - std::to_string(k).size(), ' ') + " second";
        }
        ASSERT_TRUE(out.close());
        EXPECT_EQ(test::read_file(path), expected) << "old size " << old_size;
    }
    OutputFile device;
    ASSERT_TRUE(device.open("/dev/null"));
    device.put_record("nothing", true);
    EXPECT_TRUE(device.close());
}

// Records given together reach a sink as if given one by one: complete and
// open records, an empty one, one holding a line-end byte of its own; a
// file takes the same bytes either way.
TEST(RecordSinks, RecordsGivenTogetherAsOneByOne) {
    const std::vector<std::pair<std::string, bool>> records = {
        {"first", true}, {"open ", false}, {"continued", true}, {"", true}, {"a\nb", true}, {"last open", false}};
    std::string lines;
    std::vector<RecordEnd> ends;
    for (const auto& [text, complete] : records) {
        lines += text;
        ends.push_back({lines.size(), complete});
        if (complete) lines += '\n';
    }
    CapturedRecords one_by_one, together;
    for (const auto& [text, complete] : records) one_by_one.put_record(text, complete);
    together.put_records(lines, ends);
    EXPECT_EQ(together.lines, one_by_one.lines);
    EXPECT_EQ(together.lines, (Lines{"first", "open continued", "", "a\nb", "last open"}));

    test::TempDir dir;
    OutputFile file_one, file_together;
    ASSERT_TRUE(file_one.open(dir.file("one.out")));
    ASSERT_TRUE(file_together.open(dir.file("together.out")));
    for (int k = 0; k < 3000; ++k) {  // past the file's buffer several times
        for (const auto& [text, complete] : records) file_one.put_record(text, complete);
        file_together.put_records(lines, ends);
    }
    ASSERT_TRUE(file_one.close());
    ASSERT_TRUE(file_together.close());
    EXPECT_EQ(test::read_file(dir.file("together.out")), test::read_file(dir.file("one.out")));
    EXPECT_EQ(test::read_file(dir.file("one.out")).size(), 3000u * lines.size());
}

TEST(InputFile, LineEndsFoldersAndReadFailures) {
    test::TempDir dir;
    const std::string path = dir.file("data.dat");
    InputFile in;
    test::write_file(path, " 1 2\r\n\r\n 3 4\r\nlast\r 5");
    ASSERT_TRUE(in.open(path));
    EXPECT_EQ(all_records(in), (Lines{" 1 2", "", " 3 4", "last\r 5"}));
    test::write_file(path, "");
    ASSERT_TRUE(in.open(path));
    EXPECT_TRUE(all_records(in).empty());
    EXPECT_FALSE(in.failed());
    TextSource text("a\r\n\nb");
    EXPECT_EQ(all_records(text), (Lines{"a", "", "b"}));

    EXPECT_FALSE(in.open(dir.file("absent.dat")));
    EXPECT_FALSE(in.open(dir.path().string()));  // a folder is no data file
    // A file that opens but cannot be read: a failure, not an end of file.
    ASSERT_TRUE(in.open("/proc/self/mem"));
    std::vector<std::int64_t> t(1);
    EXPECT_EQ(read_free_format(in, std::span<std::int64_t>(t)), kReadInputError);
    EXPECT_TRUE(in.failed());
}

// A line longer than the 64 MiB an input file keeps is read by the usual
// rules as far as it is kept; a read that needs more of it fails rather
// than take a value cut in two or go on to the next line.
TEST(InputFile, OverlongLinesAreReadAsFarAsKept) {
    constexpr std::size_t kept = 64u * 1024 * 1024;
    test::TempDir dir;
    const std::string path = dir.file("long.dat");
    std::string text = "7 8 ";
    text.resize(kept - 2, ' ');
    text += "12345\n5 6\n9";  // the cut falls inside 12345; no final line end
    test::write_file(path, text);

    InputFile in;
    std::vector<std::int64_t> two(2), three(3);
    auto read = [&in](std::vector<std::int64_t>& t) { return read_free_format(in, std::span<std::int64_t>(t)); };
    ASSERT_TRUE(in.open(path));
    EXPECT_EQ(read(two), kReadOk);
    EXPECT_EQ(two, (std::vector<std::int64_t>{7, 8}));
    EXPECT_TRUE(in.truncated());
    EXPECT_EQ(read(two), kReadOk);  // the next line
    EXPECT_EQ(two, (std::vector<std::int64_t>{5, 6}));
    EXPECT_EQ(read(two), kReadEndOfFile);
    EXPECT_EQ(two[0], 9);

    ASSERT_TRUE(in.open(path));
    EXPECT_EQ(read(three), kReadInputError);  // 12345 was cut
    ASSERT_TRUE(in.open(path));
    EXPECT_EQ(read_integers(in, Layout::parse("(I1,67108863X,I1)"), two), kReadInputError);
    EXPECT_FALSE(in.failed());  // the file itself reads well
}

TEST(RecordSinks, ConsoleShowsUtf8) {
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    ConsoleSink console(f);
    write_records(console, "(' Pearson X² ',$)");
    write_records(console, "(I2,' ═│')", {5});
    std::rewind(f);
    char buf[128] = {};
    const std::size_t n = std::fread(buf, 1, sizeof buf, f);
    std::fclose(f);
    EXPECT_EQ(std::string(buf, n), " Pearson X²  5 ═│\n");
}

TEST(CodePage437, BothDirections) {
    // The drawing characters of the listing are pinned by the golden listings.
    EXPECT_EQ(utf8_to_cp437("· ~€✓"), "\xFA ~??");
    // Not UTF-8 (an overlong form, a cut sequence, a lone continuation byte): kept.
    EXPECT_EQ(utf8_to_cp437("\xC0\xAF|\xE2\x94|\x80"), "\xC0\xAF|\xE2\x94|\x80");
    EXPECT_EQ(cp437_to_utf8("\x80\x9E\xE0\xE1\xEC\xFF"), "Ç₧αß∞\u00A0");
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(utf8_to_cp437(cp437_to_utf8(all)), all);
}

}  // namespace
}  // namespace marvist
