// The label reader on a label file. Input: the numbers of rows and columns on
// the first line, then the label file.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "analysis/input_files.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const marvist::fuzz::PrivateFolder folder;

    std::string text = marvist::fuzz::text_of(data, size);
    const std::string sizes = marvist::fuzz::take_line(text);
    int n_rows = 0, n_cols = 0;
    if (std::sscanf(sizes.c_str(), "%d %d", &n_rows, &n_cols) != 2) return -1;
    if (n_rows < -5 || n_rows > 300 || n_cols < -5 || n_cols > 300) return -1;

    const std::size_t m = static_cast<std::size_t>(std::max({n_rows, n_cols, 0}));
    std::vector<std::string> rows(m, "      "), cols(m, "      ");
    marvist::RunState rs;  // no report sink: the reports are discarded
    marvist::InputFile labels;
    if (!labels.open(folder.write("labels.lab", text))) std::abort();
    marvist::read_labels(rows, cols, n_rows, n_cols, labels, rs);
    if (labels.is_open()) std::abort();  // closed in every case
    for (std::size_t k = 0; k < m; ++k) {
        if (rows[k].size() != 6 || cols[k].size() != 6) std::abort();
    }
    return 0;
}
