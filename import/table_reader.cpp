#include "import/table_reader.h"

#include "import/shape_readers.h"

namespace marvist {

bool read_failure(TableReadResult& result, std::int64_t line, int field, std::string message) {
    result.error = CsvError{line, field, std::move(message)};
    return false;
}

namespace {

// Delimiter and shape of the file whose head is given: as given in
// options, or detected.
void settle_layout(std::string_view head, bool whole, const TableReadOptions& options, Guess<char>& delimiter,
                   Guess<TableShape>& shape, CsvSample& sample, std::size_t max_rows) {
    delimiter = options.delimiter != 0 ? Guess<char>{options.delimiter, {}} : detect_delimiter(head, whole);
    if (!delimiter.value) return;
    sample = sample_records(head, whole, *delimiter.value, max_rows + 1);
    if (options.shape) {
        shape = Guess<TableShape>{options.shape, {}};
    } else {
        const CsvSample shape_sample = max_rows >= kSampleRecords
                                           ? sample
                                           : sample_records(head, whole, *delimiter.value, kSampleRecords + 1);
        shape = detect_shape(shape_sample, options.columns);
    }
}

}  // namespace

TableReadResult read_count_table(ByteSource& in, const TableReadOptions& options) {
    TableReadResult result;
    bool whole = false;
    const std::string head = read_head(in, whole);
    Guess<char> delimiter;
    Guess<TableShape> shape;
    CsvSample sample;
    settle_layout(head, whole, options, delimiter, shape, sample, kSampleRecords);
    PrefixedBytes bytes(head, in);
    if (!delimiter.value || !shape.value) {
        // Bad input in the head, or no input, says more than a failed guess.
        const CsvSample seen = delimiter.value ? sample : sample_records(head, whole, ',', 1);
        if (seen.error) {
            result.error = *seen.error;
        } else if (seen.records.empty() && whole) {
            result.error = CsvError{1, 1, "the file is empty; expected a header row of column names"};
        } else {
            result.error = CsvError{delimiter.value ? 0 : 1, 0, delimiter.value ? shape.problem : delimiter.problem};
        }
        result.delimiter = delimiter.value.value_or(0);
        return result;
    }
    result.delimiter = *delimiter.value;
    result.shape = shape.value;
    CsvReader reader(bytes, *delimiter.value);
    const bool ok = *shape.value == TableShape::Wide
                        ? read_wide_table(reader, options.order, result)
                        : read_cell_table(reader, *shape.value, options.columns, options.order, result);
    if (!ok && reader.has_error()) result.error = reader.error();
    result.ok = ok;
    result.bytes = reader.bytes_read();
    result.byte_order_mark = reader.had_byte_order_mark();
    return result;
}

TablePreview preview_table(ByteSource& in, const TableReadOptions& options, std::size_t max_rows) {
    TablePreview preview;
    const std::string head = read_head(in, preview.whole_file);
    settle_layout(head, preview.whole_file, options, preview.delimiter, preview.shape, preview.sample, max_rows);
    return preview;
}

}  // namespace marvist
