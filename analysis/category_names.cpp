#include "analysis/category_names.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/cp437.h"
#include "base/fixed_text.h"
#include "base/utf8_check.h"

namespace marvist {
namespace {

void append_escaped(std::string& out, std::string_view text) {
    for (char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
}

// text with its escapes undone; false on a backslash not followed by one of
// \ t n r.
bool unescape(std::string_view text, std::string& out) {
    out.clear();
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] != '\\') {
            out += text[k];
            continue;
        }
        if (++k == text.size()) return false;
        switch (text[k]) {
            case '\\':
                out += '\\';
                break;
            case 't':
                out += '\t';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            default:
                return false;
        }
    }
    return true;
}

FullNamesRead failure(std::size_t line, const std::string& what) {
    FullNamesRead read;
    read.error = "line " + std::to_string(line) + ": " + what;
    return read;
}

}  // namespace

std::string category_names_path(std::string_view label_file) {
    return std::filesystem::path(label_file).replace_extension(".names").string();
}

std::string format_category_names(const FullNames& names, std::string_view about_file) {
    std::string text = "# Full names of the categories labelled in ";
    append_escaped(text, about_file);
    text += " (UTF-8).\n# Lines: row or col, a tab, the label, a tab, the full name.\n";
    for (const auto& [side, list] : {std::pair{"row", &names.rows}, std::pair{"col", &names.cols}}) {
        for (const NamedCategory& c : *list) {
            text += side;
            text += '\t';
            append_escaped(text, cp437_to_utf8(c.label));
            text += '\t';
            append_escaped(text, c.name);
            text += '\n';
        }
    }
    return text;
}

FullNamesRead parse_category_names(std::string_view text) {
    if (!is_utf8(text)) return failure(1, "the file is not UTF-8 text; expected UTF-8");
    FullNamesRead read;
    std::size_t line_number = 0;
    while (!text.empty()) {
        ++line_number;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        const std::size_t tab1 = line.find('\t');
        const std::size_t tab2 = tab1 == std::string_view::npos ? tab1 : line.find('\t', tab1 + 1);
        if (tab2 == std::string_view::npos || line.find('\t', tab2 + 1) != std::string_view::npos) {
            return failure(line_number, "expected row or col, a tab, the label, a tab and the full name");
        }
        const std::string_view side = line.substr(0, tab1);
        if (side != "row" && side != "col") return failure(line_number, "expected row or col first");
        if (side == "row" && !read.names.cols.empty()) {
            return failure(line_number, "a row line after the column lines; expected the rows first");
        }
        NamedCategory category;
        std::string label_text;
        if (!unescape(line.substr(tab1 + 1, tab2 - tab1 - 1), label_text) ||
            !unescape(line.substr(tab2 + 1), category.name)) {
            return failure(line_number, "a backslash not followed by \\, t, n or r");
        }
        category.label = utf8_to_cp437(label_text);
        if (category.label.size() != 6 || cp437_to_utf8(category.label) != label_text) {
            return failure(line_number, "expected a label of six characters of code page 437");
        }
        (side == "row" ? read.names.rows : read.names.cols).push_back(std::move(category));
    }
    read.ok = true;
    return read;
}

FullNamesRead read_category_names(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        FullNamesRead read;
        read.error = path + ": cannot be opened for reading";
        return read;
    }
    std::ostringstream bytes;
    bytes << file.rdbuf();
    FullNamesRead read = parse_category_names(bytes.str());
    if (!read.ok) read.error = path + ": " + read.error;
    return read;
}

FullNames names_for_labels(const FullNames& names, std::span<const std::string> row_labels,
                               std::span<const std::string> col_labels) {
    auto agree = [](const std::vector<NamedCategory>& named, std::span<const std::string> labels) {
        if (named.size() != labels.size()) return false;
        for (std::size_t k = 0; k < labels.size(); ++k) {
            if (named[k].label != labels[k]) return false;
        }
        return true;
    };
    if (!agree(names.rows, row_labels) || !agree(names.cols, col_labels)) return {};
    return names;
}

FullNames names_beside(const std::string& label_path, std::span<const std::string> row_labels,
                           std::span<const std::string> col_labels) {
    const std::string path = category_names_path(label_path);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return {};
    const FullNamesRead read = read_category_names(path);
    return read.ok ? names_for_labels(read.names, row_labels, col_labels) : FullNames{};
}

namespace {

std::string shown_name(const std::vector<std::string>& names, const Vector<std::string>& labels, int k) {
    if (k >= 1 && static_cast<std::size_t>(k) <= names.size()) return names[static_cast<std::size_t>(k) - 1];
    return cp437_to_utf8(trimmed(labels(k)));
}

}  // namespace

std::string row_name(const JobTable& table, int i) { return shown_name(table.row_names, table.row_labels, i); }
std::string col_name(const JobTable& table, int j) { return shown_name(table.col_names, table.col_labels, j); }

}  // namespace marvist
