#include "export/data_package.h"

#include <nlohmann/json.hpp>

namespace marvist {
namespace {

using nlohmann::ordered_json;

// How every file of the export is written (export/csv_text.h).
ordered_json csv_dialect() {
    return {{"delimiter", ","}, {"lineTerminator", "\r\n"}, {"quoteChar", "\""}, {"doubleQuote", true},
            {"header", true}};
}

ordered_json resource_json(const ResourceSpec& resource) {
    ordered_json fields = ordered_json::array();
    for (const FieldSpec& field : resource.fields) {
        ordered_json f = {{"name", field.name}, {"type", field_type_name(field.type)}};
        if (!field.description.empty()) f["description"] = field.description;
        if (field.type == FieldType::Boolean) {
            f["trueValues"] = {"TRUE"};
            f["falseValues"] = {"FALSE"};
        }
        fields.push_back(std::move(f));
    }
    return {{"profile", "tabular-data-resource"},
            {"name", resource.name},
            {"path", resource.path},
            {"title", resource.title},
            {"format", "csv"},
            {"mediatype", "text/csv"},
            {"encoding", "utf-8"},
            {"dialect", csv_dialect()},
            {"schema", {{"fields", std::move(fields)}, {"missingValues", {""}}}}};
}

}  // namespace

std::string_view field_type_name(FieldType type) {
    switch (type) {
        case FieldType::Integer: return "integer";
        case FieldType::Number: return "number";
        case FieldType::String: return "string";
        case FieldType::Boolean: return "boolean";
    }
    return "any";
}

std::string package_name(std::string_view text) {
    std::string name;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 'A' && c <= 'Z') name += static_cast<char>(c - 'A' + 'a');
        else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.') name += ch;
        else name += '-';
    }
    while (!name.empty() && name.back() == '-') name.pop_back();
    const auto first = name.find_first_not_of('-');
    if (first == std::string::npos) return "marvist-results";
    return name.substr(first);
}

std::string data_package_json(const PackageSpec& package) {
    ordered_json resources = ordered_json::array();
    for (const ResourceSpec& resource : package.resources) resources.push_back(resource_json(resource));
    const ordered_json json = {{"profile", "tabular-data-package"},
                               {"name", package_name(package.name)},
                               {"title", package.title},
                               {"description", package.description},
                               {"variables", {{"rows", package.row_variable}, {"columns", package.col_variable}}},
                               {"resources", std::move(resources)}};
    return json.dump(2, ' ', false, ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace marvist
