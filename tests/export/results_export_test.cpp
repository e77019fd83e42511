// The export read back: every CSV file with a strict RFC 4180 reader and
// datapackage.json with the JSON library, compared with the job's results.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>
#include <unistd.h>

#include "base/cp437.h"
#include "export/results_export.h"
#include "support/csv_reader.h"
#include "support/test_support.h"

namespace marvist {
namespace {

namespace fs = std::filesystem;
using Records = std::vector<std::vector<std::string>>;

double real(const std::string& field) {
    double value = 0.0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (ec != std::errc() || end != field.data() + field.size()) throw std::runtime_error("not a real: " + field);
    return value;
}

std::int64_t integer(const std::string& field) {
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (ec != std::errc() || end != field.data() + field.size()) throw std::runtime_error("not an integer: " + field);
    return value;
}

// A file of the export as a header and rows of fields by name.
struct CsvFile {
    std::vector<std::string> header;
    std::vector<std::map<std::string, std::string>> rows;
};

CsvFile read_export(const fs::path& path) {
    const Records records = test::read_csv(test::read_file(path.string()));
    CsvFile file;
    if (records.empty()) throw std::runtime_error(path.string() + ": no header");
    file.header = records[0];
    for (std::size_t r = 1; r < records.size(); ++r) {
        std::map<std::string, std::string> row;
        for (std::size_t c = 0; c < file.header.size(); ++c) row[file.header[c]] = records[r][c];
        file.rows.push_back(std::move(row));
    }
    return file;
}

// A 3 x 3 job with every analysis, one axis and a supplementary column; the
// first row's label holds a comma, a double quote and a box character.
struct Export : ::testing::Test {
    test::TempDir dir;
    test::MemoryJob run;
    const std::string tricky_label = "A,\"\xC4z ";  // six code-page-437 characters
    const std::string tricky_utf8 = "A,\"\xE2\x94\x80z";

    void run_job_with(const std::vector<std::int32_t>& counts, bool everything) {
        run.job = test::job_record("mixed", "Mixed \xC4 table", 3, "Response", 3, "Group");
        run.job.job_name = "mixed";
        run.job.has_labels = 1;
        if (everything) {
            run.job.do_nsca = run.job.do_homogenise = run.job.do_symmetry = 1;
            run.job.n_axes = 1;
            run.job.n_supp = 1;
        }
        TableInput table;
        table.counts = test::counts_of(3, 3, counts);
        table.supp_counts = test::counts_of(3, 1, {7, 1, 4});
        table.row_labels = {tricky_label, "Second", "Third"};
        table.col_labels = {"g1", "g2", "g3"};
        test::run_in_memory(run, table);
        ASSERT_NE(run.results.fatal_state, FatalState::Fatal);
    }
    fs::path exported(const std::optional<PermutationResult>& permutation = std::nullopt) {
        const fs::path folder = dir.path() / "results";
        const std::optional<OutputError> error = export_results(folder, run.results, permutation);
        EXPECT_FALSE(error) << error->path << ": " << error->reason;
        return folder;
    }
};

// Every file named in datapackage.json is in the folder and nothing else;
// each header is the list of its fields, and each value reads as its
// field's type.
void expect_described_by_package(const fs::path& folder) {
    const auto package = nlohmann::json::parse(test::read_file((folder / "datapackage.json").string()));
    std::set<std::string> described = {"datapackage.json"};
    for (const auto& resource : package["resources"]) {
        const std::string path = resource["path"];
        described.insert(path);
        const CsvFile file = read_export(folder / path);
        std::vector<std::string> names;
        for (const auto& field : resource["schema"]["fields"]) names.push_back(field["name"]);
        EXPECT_EQ(file.header, names) << path;
        for (const auto& row : file.rows)
            for (const auto& field : resource["schema"]["fields"]) {
                const std::string& value = row.at(field["name"]);
                if (value.empty()) continue;  // a value that does not exist
                const std::string type = field["type"];
                if (type == "integer") {
                    EXPECT_NO_THROW(integer(value)) << path << " " << value;
                } else if (type == "number") {
                    EXPECT_NO_THROW(real(value)) << path << " " << value;
                } else if (type == "boolean") {
                    EXPECT_TRUE(value == "TRUE" || value == "FALSE") << path << " " << value;
                }
            }
    }
    EXPECT_EQ(test::folder_files(folder), described);
}

TEST_F(Export, EveryFileReadsBackAsTheResults) {
    run_job_with({20, 5, 3, 4, 15, 6, 2, 3, 12}, true);
    const JobResults& r = run.results;
    const fs::path folder = exported();
    expect_described_by_package(folder);
    const std::vector<std::string> expected_files = export_file_names(r, std::nullopt);
    EXPECT_EQ(test::folder_files(folder), std::set<std::string>(expected_files.begin(), expected_files.end()));
    EXPECT_EQ(expected_files.size(), 17u);

    const auto package = nlohmann::json::parse(test::read_file((folder / "datapackage.json").string()));
    EXPECT_EQ(package["name"], "mixed");
    EXPECT_EQ(package["title"], "Mixed \xE2\x94\x80 table");
    EXPECT_EQ(package["variables"]["rows"], "Response");
    EXPECT_EQ(package["variables"]["columns"], "Group");

    const CsvFile table = read_export(folder / "table.csv");
    ASSERT_EQ(table.rows.size(), 12u);  // 3 rows of 3 counts and 1 supplementary count
    for (const auto& row : table.rows) {
        const std::int64_t i = integer(row.at("row")), j = integer(row.at("column"));
        const bool supplementary = j == 4;
        EXPECT_EQ(row.at("supplementary"), supplementary ? "TRUE" : "FALSE");
        EXPECT_EQ(integer(row.at("count")), supplementary ? r.table.supp_counts(i, 1) : r.table.counts(i, j));
        EXPECT_EQ(row.at("row_label"), i == 1 ? tricky_utf8 : i == 2 ? "Second" : "Third");
        EXPECT_EQ(row.at("column_label"), supplementary ? "" : "g" + std::to_string(j));
    }

    const CsvFile margins = read_export(folder / "margins.csv");
    ASSERT_EQ(margins.rows.size(), 6u);
    EXPECT_EQ(margins.rows[0].at("label"), tricky_utf8);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(integer(margins.rows[k].at("total")), r.marginals.row_totals(k + 1));
        EXPECT_EQ(real(margins.rows[3 + k].at("proportion")), r.marginals.col_margins(k + 1));
    }

    // Each per-cell file in row order: the value of cell (i, j) is the
    // result's, to the bit.
    struct CellFile {
        std::string file, field;
        const Matrix<double>* values;
    };
    const std::vector<CellFile> cell_files = {
        {"profiles.csv", "row_profile", &r.marginals.row_profiles},
        {"profiles.csv", "column_profile", &r.marginals.col_profiles},
        {"profiles.csv", "centred_column_profile", &r.dependence->centred_profiles},
        {"nsca_residuals.csv", "implied", &r.nsca->implied},
        {"nsca_residuals.csv", "residual", &r.nsca->residuals},
        {"homogenised.csv", "fitted", &r.homogenisation->fitted},
        {"symmetry.csv", "symmetric", &r.symmetry->symmetric},
        {"symmetry.csv", "skew_symmetric", &r.symmetry->skew},
    };
    for (const CellFile& c : cell_files) {
        const CsvFile file = read_export(folder / c.file);
        ASSERT_EQ(file.rows.size(), 9u) << c.file;
        for (const auto& row : file.rows) {
            const std::int64_t i = integer(row.at("row")), j = integer(row.at("column"));
            EXPECT_EQ(real(row.at(c.field)), (*c.values)(i, j)) << c.file << " " << c.field << " " << i << "," << j;
        }
    }
    const CsvFile homogenised = read_export(folder / "homogenised.csv");
    EXPECT_EQ(integer(homogenised.rows[4].at("rounded")), r.homogenisation->rounded(2, 2));

    // The measures with their chi-square p-values: with df 4 the upper tail
    // is exp(-x/2) (1 + x/2).
    const CsvFile dependence = read_export(folder / "dependence.csv");
    ASSERT_EQ(dependence.rows.size(), 4u);
    const DependenceResult& d = *r.dependence;
    const std::vector<std::pair<double, double>> measures = {
        {d.tau_a, d.chi_tau_a}, {d.tau_b, d.chi_tau_b}, {d.chi_square, d.chi_square}};
    for (std::size_t k = 0; k < measures.size(); ++k) {
        const auto& row = dependence.rows[k];
        EXPECT_EQ(real(row.at("value")), measures[k].first);
        const double x = measures[k].second;
        EXPECT_EQ(real(row.at("statistic")), x);
        EXPECT_EQ(integer(row.at("df")), 4);
        EXPECT_NEAR(real(row.at("p_value")), std::exp(-x / 2) * (1 + x / 2), 1e-13 * std::exp(-x / 2) * (1 + x / 2));
    }
    EXPECT_EQ(dependence.rows[3].at("measure"), "total_inertia");
    EXPECT_EQ(real(dependence.rows[3].at("value")), d.total_inertia);
    EXPECT_EQ(dependence.rows[3].at("p_value"), "");
    EXPECT_EQ(dependence.header.size(), 5u);  // no permutation test

    // NSCA with one axis: G2 on (3-1-1)(3-1-1) = 1 df, upper tail erfc(sqrt(G2/2)).
    const NscaResult& n = *r.nsca;
    const CsvFile fit = read_export(folder / "nsca_fit.csv");
    EXPECT_EQ(real(fit.rows[0].at("value")), n.g2);
    EXPECT_EQ(integer(fit.rows[0].at("df")), 1);
    EXPECT_NEAR(real(fit.rows[0].at("p_value")), std::erfc(std::sqrt(n.g2 / 2)), 1e-14);
    EXPECT_EQ(real(fit.rows[1].at("value")), n.rms);

    const CsvFile columns = read_export(folder / "column_coordinates.csv");
    ASSERT_EQ(columns.rows.size(), 4u);  // three columns and the supplementary one, one axis
    for (int j = 1; j <= 3; ++j) {
        EXPECT_EQ(real(columns.rows[j - 1].at("principal")), n.col_principal(j, 1));
        EXPECT_EQ(real(columns.rows[j - 1].at("standard")), n.col_standard(j, 1));
        EXPECT_EQ(real(columns.rows[j - 1].at("contribution")), n.col_axis_shares(j, 1));
    }
    EXPECT_EQ(columns.rows[3].at("supplementary"), "TRUE");
    EXPECT_EQ(real(columns.rows[3].at("principal")), n.supp_principal(1, 1));
    EXPECT_EQ(columns.rows[3].at("standard"), "");
    const CsvFile rows = read_export(folder / "row_coordinates.csv");
    ASSERT_EQ(rows.rows.size(), 3u);
    EXPECT_EQ(rows.rows[0].at("row_label"), tricky_utf8);
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(real(rows.rows[i - 1].at("standard")), n.row_standard(i, 1));
    const CsvFile axes = read_export(folder / "nsca_axes.csv");
    ASSERT_EQ(axes.rows.size(), static_cast<std::size_t>(n.inertias.usable_axes));
    EXPECT_EQ(axes.rows[0].at("in_solution"), "TRUE");
    EXPECT_EQ(axes.rows[1].at("in_solution"), "FALSE");
    EXPECT_EQ(real(axes.rows[1].at("inertia")), n.inertias.inertias[1]);

    const CsvFile sweeps = read_export(folder / "homogenisation.csv");
    ASSERT_EQ(sweeps.rows.size(), r.homogenisation->sweeps.size());
    EXPECT_EQ(sweeps.rows.back().at("converged"), r.homogenisation->converged ? "TRUE" : "FALSE");
    EXPECT_EQ(real(sweeps.rows[1].at("row_deviation")), r.homogenisation->sweeps[1].row_deviation);
}

TEST_F(Export, OnlyTheAnalysesTheJobRan) {
    run_job_with({20, 5, 3, 4, 15, 6, 2, 3, 12}, false);
    const fs::path folder = exported();
    expect_described_by_package(folder);
    EXPECT_EQ(test::folder_files(folder),
              (std::set<std::string>{"anova.csv", "datapackage.json", "dependence.csv", "margins.csv", "profiles.csv",
                                     "table.csv", "tau_contributions.csv"}));

    // Tau 0: the decomposition was asked for but skipped.
    run_job_with({1, 2, 3, 2, 4, 6, 3, 6, 9}, true);
    ASSERT_EQ(run.results.fatal_state, FatalState::SkipNsca);
    const fs::path again = exported();
    for (const std::string& name : test::folder_files(again)) {
        EXPECT_EQ(name.rfind("nsca", 0), std::string::npos) << name;
    }
    EXPECT_TRUE(fs::exists(again / "symmetry.csv"));
    EXPECT_TRUE(fs::exists(again / "homogenised.csv"));
}

TEST_F(Export, ThePermutationTestJoinsTheDependenceMeasures) {
    run_job_with({20, 5, 3, 4, 15, 6, 2, 3, 12}, false);
    EXPECT_FALSE(permutation_test_of(run.results, {.permutations = 0}));
    const std::optional<PermutationResult> p = permutation_test_of(run.results, {.permutations = 499, .seed = 9});
    ASSERT_TRUE(p);
    const fs::path folder = exported(p);
    expect_described_by_package(folder);
    const CsvFile dependence = read_export(folder / "dependence.csv");
    for (std::size_t k = 0; k < 3; ++k) {
        const auto& row = dependence.rows[k];
        EXPECT_EQ(integer(row.at("permutations")), 499);
        EXPECT_EQ(integer(row.at("seed")), 9);
        EXPECT_EQ(real(row.at("permutation_p_value")), (1.0 + static_cast<double>(integer(row.at("at_least_as_extreme")))) / 500.0);
    }
    // No random table comes near this one: the smallest p-value, 1/500.
    EXPECT_EQ(dependence.rows[0].at("at_least_as_extreme"), "0");
    EXPECT_EQ(dependence.rows[0].at("permutation_p_value"), "0.002");
    EXPECT_EQ(dependence.rows[3].at("permutations"), "");  // the total inertia has no test of its own
    const std::string first = test::read_file((folder / "dependence.csv").string());
    exported(permutation_test_of(run.results, {.permutations = 499, .seed = 9}));
    EXPECT_EQ(test::read_file((folder / "dependence.csv").string()), first);
}

TEST_F(Export, AnotherExportReplacesItsFilesAndLeavesOthersAlone) {
    run_job_with({20, 5, 3, 4, 15, 6, 2, 3, 12}, true);
    const fs::path folder = exported();
    test::write_file((folder / "notes.txt").string(), "mine");
    test::write_file((folder / "table.csv").string(), "stale");
    exported();
    EXPECT_EQ(test::read_file((folder / "notes.txt").string()), "mine");
    EXPECT_EQ(read_export(folder / "table.csv").rows.size(), 12u);
    EXPECT_EQ(test::folder_files(folder).size(), 18u);  // 17 files and the notes: no temporary file left

    test::write_file(dir.file("plain"), "a file");
    const std::optional<OutputError> error = export_results(dir.path() / "plain" / "out", run.results, std::nullopt);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->path, (dir.path() / "plain" / "out").string());
    EXPECT_EQ(test::read_file(dir.file("plain")), "a file");
}

// Tables of more rows than one chunk of formatting are written in order.
TEST_F(Export, LargeTablesComeOutWhole) {
    constexpr int I = 300, J = 250;
    run.job = test::job_record("large", "Large", I, "R", J, "C");
    TableInput table;
    table.counts = Matrix<std::int32_t>(I, J);
    for (int i = 1; i <= I; ++i)
        for (int j = 1; j <= J; ++j) table.counts(i, j) = 1 + (i * 7 + j * 13) % 29;
    test::run_in_memory(run, table);
    const fs::path folder = exported();
    const CsvFile counts = read_export(folder / "table.csv");
    const CsvFile profiles = read_export(folder / "profiles.csv");
    ASSERT_EQ(counts.rows.size(), static_cast<std::size_t>(I * J));
    ASSERT_EQ(profiles.rows.size(), static_cast<std::size_t>(I * J));
    for (std::size_t r = 0; r < counts.rows.size(); ++r) {
        const std::int64_t i = static_cast<std::int64_t>(r % I) + 1, j = static_cast<std::int64_t>(r / I) + 1;
        ASSERT_EQ(integer(counts.rows[r].at("row")), i) << r;
        ASSERT_EQ(integer(counts.rows[r].at("column")), j) << r;
        ASSERT_EQ(integer(counts.rows[r].at("count")), table.counts(i, j)) << r;
        ASSERT_EQ(real(profiles.rows[r].at("row_profile")), run.results.marginals.row_profiles(i, j)) << r;
    }
}

// A folder the user may not write into: nothing is written, and the error
// names the first file. (Root may write anywhere; there it cannot be tried.)
TEST_F(Export, AFolderThatCannotBeWrittenTakesNothing) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    run_job_with({20, 5, 3, 4, 15, 6, 2, 3, 12}, false);
    const fs::path folder = dir.path() / "locked";
    fs::create_directory(folder);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    const std::optional<OutputError> error = export_results(folder, run.results, std::nullopt);
    fs::permissions(folder, fs::perms::owner_all);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->path, (folder / "table.csv").string());
    EXPECT_EQ(error->reason, std::generic_category().message(EACCES));
    EXPECT_TRUE(test::folder_files(folder).empty());
}

}  // namespace
}  // namespace marvist
