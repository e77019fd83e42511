// datapackage.json: a Frictionless Tabular Data Package that describes the
// CSV files of an export (each file's path, its fields with name, type and
// a one-line description) and the job (title and variable names).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace marvist {

enum class FieldType { Integer, Number, String, Boolean };

struct FieldSpec {
    std::string name;
    FieldType type = FieldType::Number;
    std::string description;
};

struct ResourceSpec {
    std::string name;   // lower case, digits, '-', '_', '.'
    std::string path;   // the file, relative to the package
    std::string title;  // one line
    std::vector<FieldSpec> fields;
};

struct PackageSpec {
    std::string name;  // any text; made into a package name
    std::string title;
    std::string description;
    std::string row_variable, col_variable;  // the job's variable names
    std::vector<ResourceSpec> resources;
};

// "integer", "number", "string" or "boolean".
std::string_view field_type_name(FieldType type);

// Lower case letters, digits, '-', '_' and '.'; other characters become
// '-'; "marvist-results" when nothing is left.
std::string package_name(std::string_view text);

// The JSON text (UTF-8, indented, ending with a newline).
std::string data_package_json(const PackageSpec& package);

}  // namespace marvist
