#include "import/table_options.h"

namespace marvist {

std::string_view shape_name(TableShape shape) {
    switch (shape) {
        case TableShape::Wide:
            return "wide";
        case TableShape::Long:
            return "long";
        case TableShape::Records:
            return "records";
    }
    return "";
}

std::optional<TableShape> shape_from_name(std::string_view name) {
    for (TableShape s : {TableShape::Wide, TableShape::Long, TableShape::Records}) {
        if (name == shape_name(s)) return s;
    }
    return std::nullopt;
}

std::string_view delimiter_name(char delimiter) {
    switch (delimiter) {
        case ',':
            return "comma";
        case ';':
            return "semicolon";
        case '\t':
            return "tab";
        default:
            return "";
    }
}

char delimiter_from_name(std::string_view name) {
    for (char d : {',', ';', '\t'}) {
        if (name == delimiter_name(d) || (name.size() == 1 && name[0] == d)) return d;
    }
    return 0;
}

}  // namespace marvist
