// datapackage.json read back with the JSON library.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "export/data_package.h"
#include "base/cp437.h"

namespace marvist {
namespace {

TEST(DataPackage, DescribesEveryFileWithItsFields) {
    PackageSpec package{.name = "Mobility 1972", .title = cp437_to_utf8("Mobility \xC4 sons, \"fathers\""),
                        .row_variable = "Son", .col_variable = "Father"};
    package.resources.push_back({.name = "table",
                                 .path = "table.csv",
                                 .title = "The table as analysed",
                                 .fields = {{"row", FieldType::Integer, "row number"},
                                            {"row_label", FieldType::String, "row label"},
                                            {"count", FieldType::Number, ""},
                                            {"supplementary", FieldType::Boolean, "a supplementary column"}}});
    package.resources.push_back({.name = "axes", .path = "axes.csv", .title = "Axes", .fields = {{"axis", FieldType::Integer, "axis"}}});
    const auto json = nlohmann::json::parse(data_package_json(package));
    EXPECT_EQ(json["profile"], "tabular-data-package");
    EXPECT_EQ(json["name"], "mobility-1972");
    EXPECT_EQ(json["title"], "Mobility \xE2\x94\x80 sons, \"fathers\"");
    EXPECT_EQ(json["variables"]["rows"], "Son");
    EXPECT_EQ(json["variables"]["columns"], "Father");
    ASSERT_EQ(json["resources"].size(), 2u);
    const auto& table = json["resources"][0];
    EXPECT_EQ(table["path"], "table.csv");
    EXPECT_EQ(table["profile"], "tabular-data-resource");
    EXPECT_EQ(table["encoding"], "utf-8");
    EXPECT_EQ(table["dialect"]["lineTerminator"], "\r\n");
    const auto& fields = table["schema"]["fields"];
    ASSERT_EQ(fields.size(), 4u);
    EXPECT_EQ(fields[0]["name"], "row");
    EXPECT_EQ(fields[0]["type"], "integer");
    EXPECT_EQ(fields[1]["type"], "string");
    EXPECT_EQ(fields[2]["type"], "number");
    EXPECT_FALSE(fields[2].contains("description"));
    EXPECT_EQ(fields[3]["type"], "boolean");
    EXPECT_EQ(fields[3]["description"], "a supplementary column");
    EXPECT_EQ(fields[3]["trueValues"], nlohmann::json::array({"TRUE"}));
    EXPECT_EQ(fields[3]["falseValues"], nlohmann::json::array({"FALSE"}));
    EXPECT_EQ(table["schema"]["missingValues"], nlohmann::json::array({""}));
    EXPECT_EQ(json["resources"][1]["name"], "axes");
}

TEST(DataPackage, NamesMadeFromAnyText) {
    EXPECT_EQ(package_name("JOB1"), "job1");
    EXPECT_EQ(package_name("  my job/2024 "), "my-job-2024");
    EXPECT_EQ(package_name("a.b_c-d"), "a.b_c-d");
    EXPECT_EQ(package_name(""), "marvist-results");
    EXPECT_EQ(package_name("\xC4\xC4"), "marvist-results");
}

}  // namespace
}  // namespace marvist
