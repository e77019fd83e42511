#include "listing/matrix_print.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "base/row_keys.h"
#include "base/storage.h"
#include "listing/records_in_order.h"

namespace marvist {
namespace {

// Columns per block: every row of a block fits one listing line.
constexpr int kBlockWidth = 10;

// The rule character ─ as its code-page-437 byte, one A1 value per position.
constexpr std::string_view kRuleByte = "\xC4";

// The four line layouts of one printer in one form (several rows or one row).
struct BlockLayouts {
    std::string_view numbers;  // column numbers
    std::string_view labels;   // column labels
    std::string_view rule;     // rule, 7 characters per column
    std::string_view values;   // one row of values
};

// The same layouts parsed, looked up once for a whole matrix.
struct ParsedLayouts {
    explicit ParsedLayouts(const BlockLayouts& text)
        : numbers(cached_layout(text.numbers)),
          labels(cached_layout(text.labels)),
          rule(cached_layout(text.rule)),
          values(cached_layout(text.values)),
          blank(cached_layout("()")) {}
    const Layout& numbers;
    const Layout& labels;
    const Layout& rule;
    const Layout& values;
    const Layout& blank;  // the empty line between blocks
};

// Lines of row values from which a matrix is formatted on several threads
// (listing/records_in_order.h); smaller matrices are formatted on the
// calling thread alone.
constexpr std::int64_t kSharedFromRows = 4096;

// Cuts the columns into blocks of ten and writes each block. add_row appends
// to a row line what follows the row identification: (line, i, first, width)
// for row i and the block's columns first .. first + width - 1.
// Returns false, having written nothing, when the column numbers cannot be
// held (the caller's memory error).
template <class AddRow>
bool print_blocks(const BlockLayouts& layouts, std::span<const std::string> row_labels,
                  std::span<const std::string> col_labels, int nrow, int ncol, ColumnLabels column_labels,
                  RecordSink& listing, AddRow add_row) {
    Vector<std::int64_t> numbers;
    if (!obtain(numbers, ncol)) return false;
    for (int j = 1; j <= ncol; ++j) numbers(j) = j;
    const ParsedLayouts parsed(layouts);

    // A block's heading: the empty line after the block before, the column
    // numbers, the labels, the rule.
    const auto write_heading = [&](RecordSink& sink, std::vector<Value>& line, int block, int first, int width) {
        if (block > 0) write_records(sink, parsed.blank, {});
        line.clear();
        for (int j = first; j < first + width; ++j) line.emplace_back(numbers(j));
        write_records(sink, parsed.numbers, line);
        if (column_labels == ColumnLabels::Shown) {
            line.clear();
            for (int j = first; j < first + width; ++j) line.emplace_back(col_labels[static_cast<std::size_t>(j - 1)]);
            write_records(sink, parsed.labels, line);
        }
        line.assign(static_cast<std::size_t>(7 * width), Value(kRuleByte));
        write_records(sink, parsed.rule, line);
    };
    const auto write_row = [&](RecordSink& sink, std::vector<Value>& line, int i, int first, int width) {
        line.clear();
        if (nrow != 1) {
            line.emplace_back(i);
            line.emplace_back(row_key(i));
            line.emplace_back(row_labels[static_cast<std::size_t>(i - 1)]);
        }
        add_row(line, i, first, width);
        write_records(sink, parsed.values, line);
    };

    // Each block is a heading and nrow rows: item k of the matrix is the
    // heading (k mod (nrow + 1) = 0) or a row of block k / (nrow + 1).
    const int blocks = ncol > kBlockWidth ? (ncol + kBlockWidth - 1) / kBlockWidth : 1;
    const std::int64_t per_block = std::int64_t{nrow} + 1;
    const FormatItems format = [&](std::int64_t first_item, std::int64_t last_item, RecordSink& sink) {
        std::vector<Value> line;
        line.reserve(kBlockWidth + 4);
        for (std::int64_t k = first_item; k < last_item; ++k) {
            const auto block = static_cast<int>(k / per_block);
            const auto position = static_cast<int>(k % per_block);
            const int first = block * kBlockWidth + 1;
            const int width = std::min(kBlockWidth, ncol - first + 1);
            if (position == 0) {
                write_heading(sink, line, block, first, width);
            } else {
                write_row(sink, line, position, first, width);
            }
        }
    };
    const std::int64_t rows = std::int64_t{blocks} * nrow;
    write_in_order(listing, blocks * per_block, format, {.threads = rows >= kSharedFromRows ? 0 : 1});
    return true;
}

// Element (i,j) of a column-major matrix with leading dimension nrow.
template <class T>
const T& element(const T* values, int nrow, int i, int j) {
    return values[static_cast<std::int64_t>(j - 1) * nrow + (i - 1)];
}

template <class T>
bool print_int_matrix(const T* values, std::span<const std::string> row_labels, std::span<const std::string> col_labels,
                      int nrow, int ncol, ColumnLabels column_labels, RecordSink& listing) {
    const BlockLayouts layouts = nrow != 1
                                     ? BlockLayouts{"(' NO. L  LABEL │',10(I6,1X))", "('              │',10(1X,A6))",
                                                    "(' ─────────────┼',70A1)", "(' ',I2,2X,A1,1X,A6,1X,'│',10I7)"}
                                     : BlockLayouts{"(' ',10(I6,1X))", "(' ',10(1X,A6))", "(' ',70A1)", "(' ',10I7)"};
    return print_blocks(layouts, row_labels, col_labels, nrow, ncol, column_labels, listing,
                        [&](std::vector<Value>& line, int i, int first, int width) {
                            for (int j = first; j < first + width; ++j)
                                line.emplace_back(static_cast<long long>(element(values, nrow, i, j)));
                        });
}

}  // namespace

bool print_labelled_matrix(const double* values, std::span<const std::string> row_labels,
                           std::span<const std::string> col_labels, int nrow, int ncol, ColumnLabels column_labels,
                           Decimals decimals, RecordSink& listing) {
    const bool three = decimals == Decimals::Three;
    BlockLayouts layouts;
    if (nrow != 1) {
        layouts = {"(' NO. L  LABEL │',10(I6,1X))", "('              │',10(1X,A6))", "(' ─────────────┼',70A1)",
                   three ? "(' ',I2,2X,A1,1X,A6,1X,'│',10F7.3)" : "(' ',I2,2X,A1,1X,A6,1X,'│',10F7.1)"};
    } else {
        layouts = {"(' ',10(I6,1X))", "(' ',10(1X,A6))", "(' ',70A1)", three ? "(' ',10F7.3)" : "(' ',10F7.1)"};
    }
    return print_blocks(layouts, row_labels, col_labels, nrow, ncol, column_labels, listing,
                        [&](std::vector<Value>& line, int i, int first, int width) {
                            for (int j = first; j < first + width; ++j) line.emplace_back(element(values, nrow, i, j));
                        });
}

bool print_labelled_int_matrix(const std::int32_t* values, std::span<const std::string> row_labels,
                               std::span<const std::string> col_labels, int nrow, int ncol, ColumnLabels column_labels,
                               RecordSink& listing) {
    return print_int_matrix(values, row_labels, col_labels, nrow, ncol, column_labels, listing);
}

bool print_labelled_int_matrix(const std::int64_t* values, std::span<const std::string> row_labels,
                               std::span<const std::string> col_labels, int nrow, int ncol, ColumnLabels column_labels,
                               RecordSink& listing) {
    return print_int_matrix(values, row_labels, col_labels, nrow, ncol, column_labels, listing);
}

bool print_labelled_matrix_with_summary(const double* values, const double* summary,
                                        std::span<const std::string> row_labels,
                                        std::span<const std::string> col_labels, int nrow, int ncol,
                                        SummaryKind summary_kind, ColumnLabels column_labels, RecordSink& listing) {
    BlockLayouts layouts;
    if (nrow != 1) {
        layouts.numbers = summary_kind == SummaryKind::Sum    ? "(' NO. L  LABEL │   Sum  │',10(I6,1X))"
                          : summary_kind == SummaryKind::Mean ? "(' NO. L  LABEL │  Mean  │',10(I6,1X))"
                                                              : "('              │        │',10(I6,1X))";
        layouts.labels = "('              │        │',10(1X,A6))";
        layouts.rule = "(' ─────────────┼────────┼',70A1)";
        layouts.values = "(' ',I2,2X,A1,1X,A6,' │',F7.3,' │',10F7.3)";
    } else {
        layouts.numbers = summary_kind == SummaryKind::Sum    ? "('  Sum   │',10(I6,1X))"
                          : summary_kind == SummaryKind::Mean ? "(' Mean   │',10(I6,1X))"
                                                              : "('        │',10(I6,1X))";
        layouts.labels = "('        │',10(1X,A6))";
        layouts.rule = "(' ───────┼',70A1)";
        layouts.values = "(' ',F7.3,' │',10F7.3)";
    }
    return print_blocks(layouts, row_labels, col_labels, nrow, ncol, column_labels, listing,
                        [&](std::vector<Value>& line, int i, int first, int width) {
                            line.emplace_back(summary[i - 1]);
                            for (int j = first; j < first + width; ++j) line.emplace_back(element(values, nrow, i, j));
                        });
}

}  // namespace marvist
