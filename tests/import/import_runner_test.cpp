// marvist-run --import as a program: one table in three shapes makes one
// job, bad input and files in the way write nothing, and the examples import.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace marvist {
namespace {

namespace fs = std::filesystem;
using test::read_file;
using test::TempDir;
using Lines = std::vector<std::string>;

struct RunResult {
    int status = -1;
    std::string out;
    Lines err;
};

RunResult run_runner(const std::string& args, const fs::path& work_in) {
    TempDir capture;
    const std::string command = "cd '" + work_in.string() + "' && '" MARVIST_BINARY_DIR "/marvist-run' " + args +
                                " >'" + capture.file("out") + "' 2>'" + capture.file("err") + "'";
    const int raw = std::system(command.c_str());
    return RunResult{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, read_file(capture.file("out")),
                     test::read_lines(capture.file("err"))};
}

// Lines of the runner's own messages (not the job's E| and P| lines).
Lines own_messages(const RunResult& run) {
    Lines own;
    for (const std::string& line : run.err) {
        if (line.rfind("marvist-run: ", 0) == 0) own.push_back(line);
    }
    return own;
}

std::string listing_without_date(const std::string& path) {
    std::string kept;
    for (const std::string& line : test::read_lines(path)) {
        if (line.find(" Date: ") == std::string::npos) kept += line + "\n";
    }
    return kept;
}

// The counts of the mobility example, with full names: two pairs that share
// their first six characters, and names outside ASCII.
const Lines kClasses = {"Cadres supérieurs", "Managerial", "Clerical", "Manual, skilled", "Manual, unskilled"};
const std::vector<std::vector<int>> kCounts = {
    {48, 32, 14, 11, 4}, {29, 71, 40, 33, 12}, {12, 38, 86, 61, 25}, {9, 27, 55, 142, 71}, {3, 11, 24, 83, 102}};

std::string quoted(const std::string& name) { return "\"" + name + "\""; }

TEST(ImportRunner, OneTableInThreeShapesMakesOneJob) {
    TempDir dir;
    for (const char* shape : {"wide", "long", "records"}) fs::create_directory(dir.path() / shape);
    // Wide: semicolons, a byte-order mark, CRLF, the corner naming both variables.
    std::string wide = "\xEF\xBB\xBFSon\\Father";
    for (const auto& c : kClasses) wide.append(";").append(quoted(c));
    wide += "\r\n";
    std::string long_text = "Son,Father,n\n";
    std::string records = "id\tFather\tSon\tremark\n";  // other columns, in another order, tab-separated
    int id = 0;
    for (std::size_t i = 0; i < kClasses.size(); ++i) {
        wide += kClasses[i];
        for (std::size_t j = 0; j < kClasses.size(); ++j) {
            wide.append(";").append(std::to_string(kCounts[i][j]));
            long_text += quoted(kClasses[i]) + "," + quoted(kClasses[j]) + "," + std::to_string(kCounts[i][j]) + "\n";
            for (int k = 0; k < kCounts[i][j]; ++k) {
                records += std::to_string(++id) + "\t" + kClasses[j] + "\t" + kClasses[i] + "\t\"a\ttab\n\"\n";
            }
        }
        wide += "\r\n";
    }
    test::write_file((dir.path() / "wide/table.csv").string(), wide);
    test::write_file((dir.path() / "long/table.csv").string(), long_text);
    test::write_file((dir.path() / "records/table.csv").string(), records);

    const std::string common = " --homogenise --symmetry --axes 3";
    const RunResult from_wide = run_runner("--import table.csv" + common, dir.path() / "wide");
    const RunResult from_long = run_runner("--import table.csv" + common, dir.path() / "long");
    const RunResult from_records =
        run_runner("--import table.csv --rows Son --cols Father" + common, dir.path() / "records");
    for (const RunResult* run : {&from_wide, &from_long, &from_records}) {
        EXPECT_EQ(run->status, 0);
        EXPECT_NE(std::find(run->err.begin(), run->err.end(), "P| Succesful End of Marvist"), run->err.end());
    }
    // 1043 records: the sum of the table.
    EXPECT_EQ(own_messages(from_records),
              Lines{"marvist-run: table.csv: records shape, tab-separated, 1043 rows below the header: a 5 x 5 "
                    "table, job table.set"});
    const std::set<std::string> files = {"table.csv", "table.dat", "table.lab", "table.names", "table.out",
                                            "table.set"};
    for (const char* shape : {"wide", "long", "records"}) EXPECT_EQ(test::folder_files(dir.path() / shape), files);
    for (const char* ext : {".dat", ".lab", ".names", ".set"}) {
        const std::string wide_file = read_file((dir.path() / "wide" / ("table" + std::string(ext))).string());
        EXPECT_EQ(read_file((dir.path() / "long" / ("table" + std::string(ext))).string()), wide_file) << ext;
        EXPECT_EQ(read_file((dir.path() / "records" / ("table" + std::string(ext))).string()), wide_file) << ext;
    }
    const std::string listing = listing_without_date((dir.path() / "wide/table.out").string());
    EXPECT_EQ(listing_without_date((dir.path() / "long/table.out").string()), listing);
    EXPECT_EQ(listing_without_date((dir.path() / "records/table.out").string()), listing);

    // The job files hold the example's table, labels made from the names,
    // and the names themselves.
    std::istringstream data(read_file((dir.path() / "wide/table.dat").string()));
    for (const auto& row : kCounts) {
        for (int expected : row) {
            int value = -1;
            data >> value;
            EXPECT_EQ(value, expected);
        }
    }
    EXPECT_EQ(read_file((dir.path() / "wide/table.lab").string()),
              "CadresManageClericManua1Manua2\nCadresManageClericManua1Manua2\n");
    const std::string names = read_file((dir.path() / "wide/table.names").string());
    EXPECT_NE(names.find("row\tManua2\tManual, unskilled\n"), std::string::npos);
    EXPECT_NE(names.find("col\tCadres\tCadres supérieurs\n"), std::string::npos);
    EXPECT_EQ(test::read_lines((dir.path() / "wide/table.set").string()),
              (Lines{"Table imported from table.csv" + std::string(41, ' '), " 5          Son         ",
                     " 5          Father      ", " 1", "table", "table.dat", "table.lab", " \"*\"", " 0 1 1 1",
                     "3         0         "}));
    EXPECT_NE(listing.find("Manua2"), std::string::npos);

    // Run again from its set-up file, the job writes the same listing.
    const RunResult rerun = run_runner("table.set", dir.path() / "wide");
    EXPECT_EQ(rerun.status, 0);
    EXPECT_EQ(listing_without_date((dir.path() / "wide/table.out").string()), listing);
}

TEST(ImportRunner, JobFilesInTheWayAreKeptWithoutForce) {
    TempDir dir;
    test::write_file(dir.file("t.csv"), "r,c\nx,a\ny,b\nx,b\n");
    test::write_file(dir.file("t.lab"), "mine\n");
    test::write_file(dir.file("t.set"), "mine too\n");
    const RunResult refused = run_runner("--import t.csv", dir.path());
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(own_messages(refused), Lines{"marvist-run: t.lab and t.set exist already; give --force to replace them"});
    EXPECT_EQ(test::folder_files(dir.path()), (std::set<std::string>{"t.csv", "t.lab", "t.set"}));
    EXPECT_EQ(read_file(dir.file("t.lab")), "mine\n");

    const RunResult forced = run_runner("--import t.csv --force --no-run", dir.path());
    EXPECT_EQ(forced.status, 0);
    EXPECT_EQ(test::folder_files(dir.path()), (std::set<std::string>{"t.csv", "t.dat", "t.lab", "t.names", "t.set"}))
        << "--no-run: no listing";
    EXPECT_EQ(read_file(dir.file("t.lab")), "x     y     \na     b     \n");

    // Another job name leaves these alone.
    const RunResult named = run_runner("--import t.csv --job other --no-run", dir.path());
    EXPECT_EQ(named.status, 0);
    EXPECT_TRUE(fs::exists(dir.file("other.set")));
    EXPECT_EQ(test::read_lines(dir.file("other.set"))[4], "other");
}

// Every kind of bad input: exit status 2, one message naming the file, the
// line and the field, and no file written.
TEST(ImportRunner, BadInputWritesNothing) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "t.csv: line 1, field 1: the file is empty"},
        {",a,b,c\nx,1,2,3\ny,1,2\n", "t.csv: line 3, field 4: a row of 3 fields; expected 4"},
        {",a,b,c\nx,1,2,3\ny,1,x,3\nz,1,1,1\n", "t.csv: line 3, field 3: found \"x\"; expected a count"},
        {",a,b,c\nx,1,2,3\ny,1,-1,3\n", "t.csv: line 3, field 3: found \"-1\", a negative number"},
        {",a,b,c\nx,1,2,3\ny,1,4294967296,3\n", "t.csv: line 3, field 3: found \"4294967296\", too large"},
        {",a,b,a\nx,1,2,3\ny,1,2,3\n", "t.csv: line 1, field 4: the column name \"a\" is also field 2"},
        {",a,b,c\nx,1,2,3\ny,0,0,0\n", "t.csv: line 3, field 1: the row \"y\" has no counts at all"},
        {",a,b,c\nx,1,0,3\ny,1,0,3\n", "t.csv: line 1, field 3: the column \"b\" has no counts at all"},
        {"r,c,n\nx,a,1\ny,b,2\n", "t.csv: line 1: no column is named \"size\""},
        {"r,c\nx,a\ny,b\xFF\n", "t.csv: line 3, field 2: bytes that are not UTF-8 (0xFF)"},
    };
    for (const auto& [text, message] : cases) {
        TempDir dir;
        test::write_file(dir.file("t.csv"), text);
        const std::string columns = text.rfind("r,c,n", 0) == 0 ? " --rows r --cols c --count size" : "";
        const RunResult run = run_runner("--import t.csv" + columns, dir.path());
        EXPECT_EQ(run.status, 2) << text;
        ASSERT_EQ(own_messages(run).size(), 1u) << text;
        EXPECT_EQ(own_messages(run)[0].rfind("marvist-run: " + message, 0), 0u) << own_messages(run)[0];
        EXPECT_EQ(test::folder_files(dir.path()), std::set<std::string>{"t.csv"}) << text;
    }
}

TEST(ImportRunner, OptionsAndTheirMistakes) {
    TempDir dir;
    test::write_file(dir.file("t.csv"), "r,c,n\nx,a,1\ny,b,2\nz,a,3\n");
    // Symmetry is asked of square tables only; the runner says so.
    const RunResult run = run_runner("--import t.csv --symmetry --columns-dependent --order sorted --no-run", dir.path());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(own_messages(run).back(), "marvist-run: the table is 3 x 2, not square: no symmetry analysis is asked");
    EXPECT_EQ(test::read_lines(dir.file("t.set"))[8], " 1 1 0 0");

    for (const char* wrong : {"--import", "--import t.csv x.set", "--import t.csv --rows r",
                              "--import t.csv --count n", "--import t.csv --shape wide --rows r --cols c",
                              "--import t.csv --shape records --rows r --cols c --count n",
                              "--import t.csv --shape square", "--import t.csv --axes 0", "--import t.csv --axes 2x",
                              "--import t.csv --delimiter pipe", "--import t.csv --order random",
                              "--import t.csv --import u.csv", "--import t.csv --bogus"}) {
        const RunResult refused = run_runner(wrong, dir.path());
        EXPECT_EQ(refused.status, 2) << wrong;
        EXPECT_NE(std::find(refused.err.begin(), refused.err.end(), "Usage: marvist-run [--show] SETUP_FILE"),
                  refused.err.end())
            << wrong;
    }
    EXPECT_EQ(run_runner("--import t.csv --job a/b --force", dir.path()).status, 2);
    EXPECT_EQ(run_runner("--import missing.csv", dir.path()).status, 2);
    EXPECT_EQ(test::folder_files(dir.path()), (std::set<std::string>{"t.csv", "t.dat", "t.lab", "t.names", "t.set"}));
}

// The commands that README and examples/README.md give for the examples.
TEST(ImportRunner, TheExamplesImport) {
    TempDir dir;
    for (const char* csv : {"holidays.csv", "migration.csv", "survey.csv"}) {
        fs::copy_file(test::source_path(std::string("examples/") + csv), dir.path() / csv);
    }
    const RunResult holidays = run_runner("--import holidays.csv --columns-dependent", dir.path());
    const RunResult migration = run_runner("--import migration.csv --symmetry --homogenise", dir.path());
    const RunResult survey = run_runner("--import survey.csv --rows channel --cols age --order sorted", dir.path());
    for (const RunResult* run : {&holidays, &migration, &survey}) {
        EXPECT_EQ(run->status, 0);
        EXPECT_NE(std::find(run->err.begin(), run->err.end(), "P| Succesful End of Marvist"), run->err.end());
    }
    EXPECT_EQ(read_file(dir.file("holidays.lab")), "18-29 30-44 45-64 65 and\nMedit1Medit2Alps  C\x93te dBalticCity t\n");
    EXPECT_EQ(read_file(dir.file("migration.lab")), "North1North2MidlanSouth London\nNorth1North2MidlanSouth London\n");
    EXPECT_EQ(read_file(dir.file("survey.lab")), "CornerMarketOnlineSuperm\n18-29 30-44 45-64 65+   \n");

    // Plots asked with the import name the categories in full, and so they
    // do when the job runs again from its set-up file.
    const RunResult plotted = run_runner("--import holidays.csv --columns-dependent --force --plots plots", dir.path());
    EXPECT_EQ(plotted.status, 0);
    const std::string svg = read_file(dir.file("plots/joint-1-2.svg"));
    EXPECT_NE(svg.find("Mediterranean islands"), std::string::npos);
    EXPECT_NE(svg.find("C\xC3\xB4te d&apos;Azur"), std::string::npos);
    EXPECT_EQ(svg.find("Medit2"), std::string::npos);
    fs::remove_all(dir.path() / "plots");
    EXPECT_EQ(run_runner("--plots plots holidays.set", dir.path()).status, 0);
    EXPECT_EQ(read_file(dir.file("plots/joint-1-2.svg")), svg);
    // So does the export: the table's column names are the full ones (the
    // columns are dependent, so the destinations are the table's rows).
    EXPECT_EQ(run_runner("--export results holidays.set", dir.path()).status, 0);
    const std::string table = read_file(dir.file("results/table.csv"));
    EXPECT_NE(table.find(",City trips; abroad,"), std::string::npos);
    EXPECT_NE(table.find(",C\xC3\xB4te d'Azur,"), std::string::npos);
    EXPECT_EQ(table.find("Medit2"), std::string::npos);
    // The survey's records counted independently of the import.
    std::istringstream records(read_file(dir.file("survey.csv")));
    std::string line;
    int online_young = 0, total = 0;
    while (std::getline(records, line)) {
        if (line.find(",18-29,Online shop,") != std::string::npos) ++online_young;
        if (line.find(",Market,") != std::string::npos || line.find(",Online shop,") != std::string::npos ||
            line.find(",Supermarket,") != std::string::npos || line.find(",Corner shop,") != std::string::npos) {
            ++total;
        }
    }
    EXPECT_EQ(total, 300);
    std::istringstream data(read_file(dir.file("survey.dat")));
    std::vector<int> counts;
    for (int v; data >> v;) counts.push_back(v);
    ASSERT_EQ(counts.size(), 16u);
    EXPECT_EQ(counts[2 * 4 + 0], online_young) << "row Online shop, column 18-29";
}

}  // namespace
}  // namespace marvist
