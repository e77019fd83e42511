// Recognises the reports in a captured error window by a line that only the
// message of each code carries.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace marvist::test {

inline std::vector<int> reported_codes(const std::vector<std::string>& error_lines) {
    static const std::pair<int, std::string> kMarks[] = {
        {37, " There is not enough memory available to"},
        {100, " One of more of the rows have no observations"},
        {110, " One of more of the columns have no observations"},
        {120, " The number of rows is either 0 or 1"},
        {130, " The number of columns either 0 or 1"},
        {140, " The number of axes for NonSymmetric Correspondence Analysis was given as 0"},
        {150, " The number of axes for NonSymmetric Correspondence Analysis was too large."},
        {160, " The number of supplementary predictors is negative."},
        {200, " Tau is 0, thus rows and columns are perfectly independent."},
        {400, " While attempting to open the output file an error occurred."},
        {410, "  While attempting to open the data file an error occurred."},
        {420, "  While attempting to open the label file an error occurred."},
        {430, " While writing the output file an error occurred."},
        {510, " While reading the data file an end-of-file mark was encountered."},
        {512, " While reading the data file an input error occurred."},
        {520, " While reading the label file an end-of-file mark was encountered."},
        {522, " While reading the label file an input error occurred."},
        {999, " Marvist ended prematurely due to fatal errors"}};
    std::vector<int> codes;
    for (const std::string& line : error_lines)
        for (const auto& [code, text] : kMarks)
            if (line == text) codes.push_back(code);
    return codes;
}

}  // namespace marvist::test
