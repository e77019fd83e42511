#include "app/setup_file.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <span>
#include <system_error>

#include "base/cp437.h"
#include "base/fixed_text.h"
#include "base/record_io.h"

namespace marvist {

namespace {

// What each line must hold, for the messages of a failed read.
constexpr std::string_view kTitleLine = "the title";
constexpr std::string_view kRowsLine = "2 values (number of rows and row variable)";
constexpr std::string_view kColsLine = "2 values (number of columns and column variable)";
constexpr std::string_view kLabelsLine = "1 integer (labels yes/no)";
constexpr std::string_view kJobNameLine = "the job name";
constexpr std::string_view kDataFileLine = "the data file name";
constexpr std::string_view kLabelFileLine = "the label file name";
constexpr std::string_view kFormatLine = "the data format in double quotes";
constexpr std::string_view kSwitchesLine = "4 integers (dependence, NSCA, homogenisation, symmetry)";
constexpr std::string_view kNumbersLine = "the numbers of axes and supplementary predictors";

// One record as a source of its own. Each line is read on its own, so a line
// with a value missing (a blank variable name, a switch left out) can neither
// take its value from the next line nor shift every later line.
class SingleRecord : public RecordSource {
public:
    explicit SingleRecord(std::string_view record) : record_(record) {}
    bool next_record(std::string& record) override {
        if (given_) return false;
        record.assign(record_);
        given_ = true;
        return true;
    }

private:
    std::string_view record_;
    bool given_ = false;
};

// Walks the file line by line, keeping the line number and the first failure.
class SetupLines {
public:
    explicit SetupLines(RecordSource& in) : in_(in) {}

    // The next line, which should hold `content`; false when there is none.
    bool next(std::string_view content) {
        if (in_.next_record(record_)) {
            ++line_;
            return true;
        }
        if (in_.failed()) {
            fail("cannot be read (a read error after line " + std::to_string(line_) + ")");
        } else if (line_ == 0) {
            fail("the file is empty");
        } else {
            fail("the file ends after line " + std::to_string(line_) + "; line " + std::to_string(line_ + 1) +
                 " should hold " + std::string(content));
        }
        return false;
    }

    // The current line does not hold what it should.
    bool garbled(std::string_view content, std::string_view detail = {}) {
        std::string shown = cp437_to_utf8(trimmed(std::string_view(record_).substr(0, 60)));
        std::string message = "line " + std::to_string(line_) + ": expected " + std::string(content);
        if (!detail.empty()) message += ", " + std::string(detail);
        fail(message + "; found \"" + shown + "\"");
        return false;
    }

    const std::string& record() const { return record_; }
    const std::string& error() const { return error_; }

private:
    void fail(std::string message) {
        if (error_.empty()) error_ = std::move(message);
    }

    RecordSource& in_;
    std::string record_;
    int line_ = 0;
    std::string error_;
};

// A line read whole with "(A)" into a text of `length` characters.
bool read_whole_line(SetupLines& lines, std::string_view content, std::string& target, std::size_t length) {
    if (!lines.next(content)) return false;
    std::array<std::string, 1> text{std::string(length, ' ')};
    SingleRecord record(lines.record());
    if (read_characters(record, cached_layout("(A)"), text) != kReadOk) return lines.garbled(content);
    target = std::move(text[0]);
    return true;
}

// A free-form line of a number text (10) and a variable name (12). A line
// that holds the number alone gives a blank name: that is how the writer
// writes a name left blank.
bool read_number_and_name(SetupLines& lines, std::string_view content, std::string& number, std::string& name) {
    if (!lines.next(content)) return false;
    std::string number_read = number;
    std::string name_read = name;
    std::array<FreeTarget, 2> targets{FreeTarget{nullptr, &number_read, 10}, FreeTarget{nullptr, &name_read, 12}};
    SingleRecord both(lines.record());
    int status = read_free_format(both, targets);
    if (status == kReadEndOfFile) {
        number_read = number;
        name_read = std::string(12, ' ');
        SingleRecord alone(lines.record());
        status = read_free_format(alone, std::span(targets).first(1));
    }
    if (status != kReadOk) return lines.garbled(content);
    number = std::move(number_read);
    name = std::move(name_read);
    return true;
}

// A free-form line of integers, each within [lo, hi].
template <std::size_t N>
bool read_integer_line(SetupLines& lines, std::string_view content, std::array<int*, N> targets, std::int64_t lo,
                       std::int64_t hi, std::string_view range) {
    if (!lines.next(content)) return false;
    std::array<std::int64_t, N> values{};
    for (std::size_t k = 0; k < N; ++k) values[k] = *targets[k];
    SingleRecord record(lines.record());
    if (read_free_format(record, values) != kReadOk) return lines.garbled(content);
    for (std::int64_t v : values) {
        if (v < lo || v > hi) return lines.garbled(content, range);
    }
    for (std::size_t k = 0; k < N; ++k) *targets[k] = static_cast<int>(values[k]);
    return true;
}

// The data format line: one value, normally in double quotes.
bool read_format_line(SetupLines& lines, std::string& format) {
    if (!lines.next(kFormatLine)) return false;
    std::string read = format;
    std::array<FreeTarget, 1> target{FreeTarget{nullptr, &read, 70}};
    SingleRecord record(lines.record());
    if (read_free_format(record, target) != kReadOk) return lines.garbled(kFormatLine);
    format = std::move(read);
    return true;
}

// The last line, read with "(A,A)": ten characters each.
bool read_numbers_line(SetupLines& lines, std::string& axes, std::string& supp) {
    if (!lines.next(kNumbersLine)) return false;
    std::array<std::string, 2> texts{std::string(10, ' '), std::string(10, ' ')};
    SingleRecord record(lines.record());
    if (read_characters(record, cached_layout("(A,A)"), texts) != kReadOk) return lines.garbled(kNumbersLine);
    axes = std::move(texts[0]);
    supp = std::move(texts[1]);
    return true;
}

bool read_all_lines(SetupLines& lines, JobRecord& job) {
    constexpr std::int64_t int_min = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t int_max = std::numeric_limits<std::int32_t>::max();
    return read_whole_line(lines, kTitleLine, job.title, 70) &&
           read_number_and_name(lines, kRowsLine, job.n_rows_text, job.row_variable) &&
           read_number_and_name(lines, kColsLine, job.n_cols_text, job.col_variable) &&
           read_integer_line<1>(lines, kLabelsLine, {&job.has_labels}, int_min, int_max,
                                "within the range of a 32-bit integer") &&
           read_whole_line(lines, kJobNameLine, job.job_name, 80) &&
           read_whole_line(lines, kDataFileLine, job.data_file, 80) &&
           (job.has_labels <= 0 || read_whole_line(lines, kLabelFileLine, job.label_file, 80)) &&
           read_format_line(lines, job.data_format) &&
           read_integer_line<4>(lines, kSwitchesLine,
                                {&job.dependence, &job.do_nsca, &job.do_homogenise, &job.do_symmetry}, 0, 1,
                                "each 0 or 1") &&
           read_numbers_line(lines, job.n_axes_text, job.n_supp_text);
}

std::string file_message(std::string_view file_name, std::string_view problem) {
    return std::string(file_name) + ": " + std::string(problem);
}

}  // namespace

void write_setup_records(RecordSink& out, const JobRecord& job) {
    std::string format(1, '"');
    format.append(trimmed(job.data_format)).push_back('"');
    out.put_record(free_form_record({fixed(job.title, 70)}), true);
    out.put_record(free_form_record({fixed(job.n_rows_text, 10), " ", fixed(job.row_variable, 12)}), true);
    out.put_record(free_form_record({fixed(job.n_cols_text, 10), " ", fixed(job.col_variable, 12)}), true);
    out.put_record(free_form_record({job.has_labels}), true);
    out.put_record(free_form_record({trimmed(job.job_name)}), true);
    out.put_record(free_form_record({trimmed(job.data_file)}), true);
    if (job.has_labels > 0) out.put_record(free_form_record({trimmed(job.label_file)}), true);
    out.put_record(free_form_record({std::string_view(format)}), true);
    out.put_record(free_form_record({job.dependence, job.do_nsca, job.do_homogenise, job.do_symmetry}), true);
    out.put_record(free_form_record({fixed(job.n_axes_text, 10), fixed(job.n_supp_text, 10)}), true);
}

SetupFileStatus read_setup_records(RecordSource& in, JobRecord& job) {
    JobRecord copy = job;
    SetupLines lines(in);
    if (!read_all_lines(lines, copy)) return SetupFileStatus{false, lines.error()};
    job = std::move(copy);
    return SetupFileStatus{};
}

SetupFileStatus write_setup_file(std::string_view file_name, const JobRecord& job) {
    const std::string path(trimmed(file_name));
    OutputFile file;
    if (!file.open(path)) return SetupFileStatus{false, file_message(path, "cannot be created")};
    write_setup_records(file, job);
    if (!file.close()) return SetupFileStatus{false, file_message(path, "could not be written completely")};
    return SetupFileStatus{};
}

SetupFileStatus read_setup_file(std::string_view file_name, JobRecord& job) {
    const std::string path(trimmed(file_name));
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return SetupFileStatus{false, file_message(path, "no such file")};
    if (std::filesystem::is_directory(path, ec)) {
        return SetupFileStatus{false, file_message(path, "is a folder, not a set-up file")};
    }
    InputFile file;
    if (!file.open(path)) return SetupFileStatus{false, file_message(path, "cannot be opened for reading")};
    SetupFileStatus status = read_setup_records(file, job);
    if (!status.ok) status.message = file_message(path, status.message);
    return status;
}

}  // namespace marvist
