#include "app/batch/setup_file.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <vector>
#include <system_error>

#include "app/batch/job_form.h"
#include "app/batch/setup_values.h"
#include "base/cp437.h"
#include "base/fixed_text.h"
#include "base/integer_text.h"
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

// One record as a source of its own, for the lines read with a layout.
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
    int line() const { return line_; }
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
// writes a name left blank. A name that opens a double quote and does not
// close it reads as blank, as it always has.
bool read_number_and_name(SetupLines& lines, std::string_view content, std::string& number, std::string& name) {
    if (!lines.next(content)) return false;
    std::vector<SetupValue> values;
    const SplitStatus status = split_setup_values(lines.record(), 2, values);
    if (status == SplitStatus::Garbled || values.empty()) return lines.garbled(content);
    number = fixed(values[0].text, kNumberTextLength);
    name = fixed(values.size() > 1 ? std::string_view(values[1].text) : std::string_view(), kVariableNameLength);
    return true;
}

// A free-form line of integers, each within [lo, hi].
template <std::size_t N>
bool read_integer_line(SetupLines& lines, std::string_view content, std::array<int*, N> targets, std::int64_t lo,
                       std::int64_t hi, std::string_view range) {
    if (!lines.next(content)) return false;
    std::vector<SetupValue> values;
    if (split_setup_values(lines.record(), N, values) != SplitStatus::Ok || values.size() < N) {
        return lines.garbled(content);
    }
    std::array<std::int64_t, N> numbers{};
    for (std::size_t k = 0; k < N; ++k) {
        if (values[k].quoted || !parse_integer_field(values[k].text, numbers[k])) return lines.garbled(content);
    }
    for (std::int64_t v : numbers) {
        if (v < lo || v > hi) return lines.garbled(content, range);
    }
    for (std::size_t k = 0; k < N; ++k) *targets[k] = static_cast<int>(numbers[k]);
    return true;
}

// The data format line: one value, normally in double quotes.
bool read_format_line(SetupLines& lines, std::string& format) {
    if (!lines.next(kFormatLine)) return false;
    std::vector<SetupValue> values;
    if (split_setup_values(lines.record(), 1, values) != SplitStatus::Ok || values.empty()) {
        return lines.garbled(kFormatLine);
    }
    format = fixed(values[0].text, kDataFormatLength);
    return true;
}

// The last line, read with "(A,A)": ten characters each.
bool read_numbers_line(SetupLines& lines, std::string& axes, std::string& supp) {
    if (!lines.next(kNumbersLine)) return false;
    std::array<std::string, 2> texts{std::string(kNumberTextLength, ' '), std::string(kNumberTextLength, ' ')};
    SingleRecord record(lines.record());
    if (read_characters(record, cached_layout("(A,A)"), texts) != kReadOk) return lines.garbled(kNumbersLine);
    axes = std::move(texts[0]);
    supp = std::move(texts[1]);
    return true;
}

bool read_all_lines(SetupLines& lines, JobRecord& job) {
    constexpr std::int64_t int_min = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t int_max = std::numeric_limits<std::int32_t>::max();
    return read_whole_line(lines, kTitleLine, job.title, kTitleLength) &&
           read_number_and_name(lines, kRowsLine, job.n_rows_text, job.row_variable) &&
           read_number_and_name(lines, kColsLine, job.n_cols_text, job.col_variable) &&
           read_integer_line<1>(lines, kLabelsLine, {&job.has_labels}, int_min, int_max,
                                "within the range of a 32-bit integer") &&
           read_whole_line(lines, kJobNameLine, job.job_name, kFileNameLength) &&
           read_whole_line(lines, kDataFileLine, job.data_file, kFileNameLength) &&
           (job.has_labels <= 0 || read_whole_line(lines, kLabelFileLine, job.label_file, kFileNameLength)) &&
           read_format_line(lines, job.data_format) &&
           read_integer_line<4>(lines, kSwitchesLine,
                                {&job.dependence, &job.do_nsca, &job.do_homogenise, &job.do_symmetry}, 0, 1,
                                "each 0 or 1") &&
           read_numbers_line(lines, job.n_axes_text, job.n_supp_text);
}

std::string file_message(std::string_view file_name, std::string_view problem) {
    return std::string(file_name) + ": " + std::string(problem);
}

// A number field that holds more than digits and blanks is still read by the
// digit rule, as it always was, but the reader says so.
void check_number_field(std::vector<std::string>& warnings, int line, std::string_view field, std::string_view text) {
    if (holds_digits_and_blanks_only(text)) return;
    const std::string shown = cp437_to_utf8(trimmed(without_leading_blanks(text)));
    warnings.push_back("line " + std::to_string(line) + ": " + std::string(field) + " holds \"" + shown +
                       "\", not only digits and blanks; it is read as " + std::to_string(read_number_field(text)));
}

std::vector<std::string> number_field_warnings(const JobRecord& job, int last_line) {
    std::vector<std::string> warnings;
    check_number_field(warnings, 2, kRowsField, job.n_rows_text);
    check_number_field(warnings, 3, kColsField, job.n_cols_text);
    check_number_field(warnings, last_line, kAxesField, job.n_axes_text);
    check_number_field(warnings, last_line, kSuppField, job.n_supp_text);
    return warnings;
}

// Line 2 or 3: the number text, then the variable name. A name is read back
// up to its first blank, so that is what is written: the file then holds
// what it gives back. A first word that the reader would otherwise cut or
// take apart (a comma, a tab, a leading double quote) is written in double
// quotes, and so is a number text that is blank or holds blanks between its
// characters.
std::string number_and_name_record(std::string_view number, std::string_view name) {
    const std::string_view number_value = trimmed(without_leading_blanks(number));
    std::string record = " ";
    if (setup_value_text(number_value) == number_value) {
        record += fixed(number_value, kNumberTextLength);
    } else {
        record += quoted_setup_value(number_value);
    }
    record += ' ';
    const std::string_view words = without_leading_blanks(name);
    const std::string_view first_word = words.substr(0, words.find(' '));
    if (!first_word.empty() && setup_value_text(first_word) != first_word) {
        record += quoted_setup_value(first_word);
    } else {
        record += fixed(first_word, kVariableNameLength);
    }
    return record;
}

}  // namespace

void write_setup_records(RecordSink& out, const JobRecord& job) {
    // The lines read whole (the title, the names of the job and its files,
    // the last line) are written without the leading blank of a free-form
    // line, so that they read back as they were written (an 80-character
    // file name whole) and a file saved again and again stays the same.
    out.put_record(fixed(job.title, kTitleLength), true);
    out.put_record(number_and_name_record(job.n_rows_text, job.row_variable), true);
    out.put_record(number_and_name_record(job.n_cols_text, job.col_variable), true);
    out.put_record(free_form_record({job.has_labels}), true);
    out.put_record(trimmed(job.job_name), true);
    out.put_record(trimmed(job.data_file), true);
    if (job.has_labels > 0) out.put_record(trimmed(job.label_file), true);
    std::string format_line = " ";
    format_line += quoted_setup_value(trimmed(job.data_format));
    out.put_record(format_line, true);
    out.put_record(free_form_record({job.dependence, job.do_nsca, job.do_homogenise, job.do_symmetry}), true);
    out.put_record(fixed(job.n_axes_text, kNumberTextLength) + fixed(job.n_supp_text, kNumberTextLength), true);
}

SetupFileStatus read_setup_records(RecordSource& in, JobRecord& job) {
    JobRecord copy = job;
    SetupLines lines(in);
    if (!read_all_lines(lines, copy)) return SetupFileStatus{false, lines.error(), {}};
    SetupFileStatus status;
    status.warnings = number_field_warnings(copy, lines.line());
    job = std::move(copy);
    return status;
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
    for (std::string& warning : status.warnings) warning = path + ", " + warning;
    return status;
}

}  // namespace marvist
