#include "app/batch/job_form.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <limits>

#include "base/fixed_text.h"

namespace marvist {

namespace {

constexpr std::string_view kJobNameRefused = "Job Name Not Accepted";

}  // namespace

bool holds_digits_and_blanks_only(std::string_view text) {
    for (char c : text) {
        if (c != ' ' && (c < '0' || c > '9')) return false;
    }
    return true;
}

int read_number_field(std::string_view text) {
    const std::string_view field = trimmed(text.substr(0, kNumberTextLength));
    // Ten places at most: |sum| <= 255 * 1111111111, far inside 64 bits.
    std::int64_t sum = 0;
    std::int64_t place = 1;
    for (std::size_t k = field.size(); k > 0; --k) {
        const auto code = static_cast<unsigned char>(field[k - 1]);
        if (code != ' ') sum += (static_cast<std::int64_t>(code) - '0') * place;
        place *= 10;
    }
    constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
    if (sum < lo) return static_cast<int>(lo);
    if (sum > hi) return static_cast<int>(hi);
    return static_cast<int>(sum);
}

FormError read_back_job_form(JobRecord& job) {
    const std::string_view name = trimmed(without_leading_blanks(job.job_name));
    // ".out" and ".set" must fit the file-name field behind the whole name:
    // a silently cut name would write the listing under another name.
    if (name.empty()) {
        return FormError{true, std::string(kJobNameRefused),
                         "The job name is empty; it names the listing (.out) and the set-up file (.set)."};
    }
    if (name.size() + 4 > kFileNameLength) {
        return FormError{true, std::string(kJobNameRefused),
                         "The job name is " + std::to_string(name.size()) + " characters long; at most " +
                             std::to_string(kFileNameLength - 4) + " fit a file name with its extension."};
    }

    job.title = fixed(job.title, kTitleLength);
    job.row_variable = fixed(job.row_variable, kVariableNameLength);
    job.col_variable = fixed(job.col_variable, kVariableNameLength);

    job.n_rows_text = fixed(job.n_rows_text, kNumberTextLength);
    job.n_cols_text = fixed(job.n_cols_text, kNumberTextLength);
    job.n_axes_text = fixed(job.n_axes_text, kNumberTextLength);
    job.n_supp_text = fixed(job.n_supp_text, kNumberTextLength);
    job.n_rows = read_number_field(job.n_rows_text);
    job.n_cols = read_number_field(job.n_cols_text);
    job.n_axes = read_number_field(job.n_axes_text);
    job.n_supp = read_number_field(job.n_supp_text);

    const std::string stem(name);
    job.output_file = fixed(stem + ".out", kFileNameLength);
    job.setup_file = fixed(stem + ".set", kFileNameLength);
    job.job_name = fixed(stem, kFileNameLength);

    job.data_file = fixed(without_leading_blanks(job.data_file), kFileNameLength);
    job.label_file = fixed(without_leading_blanks(job.label_file), kFileNameLength);
    std::string_view format = without_leading_blanks(job.data_format);
    if (trimmed(format).empty()) format = "*";
    job.data_format = fixed(format, kDataFormatLength);
    return FormError{};
}

}  // namespace marvist

namespace marvist {

FormError check_form_entries(const JobRecord& job, bool has_labels) {
    const std::pair<std::string_view, const std::string*> numbers[] = {
        {kRowsField, &job.n_rows_text},
        {kColsField, &job.n_cols_text},
        {kAxesField, &job.n_axes_text},
        {kSuppField, &job.n_supp_text},
    };
    for (const auto& [field, text] : numbers) {
        const std::string_view typed = std::string_view(*text).substr(0, kNumberTextLength);
        if (!holds_digits_and_blanks_only(typed)) {
            std::string message = "\"";
            message.append(field).append("\" holds \"").append(trimmed(typed));
            message.append("\".\nPlease type a whole number: digits only.");
            return FormError{true, "Number Not Accepted", std::move(message)};
        }
    }
    if (has_labels && trimmed(without_leading_blanks(job.label_file)).empty()) {
        return FormError{true, "Label File Not Named",
                         "Category Labels is \"Yes\" but \"Name Label File\" is empty.\nPlease name the label "
                         "file, or choose \"No\"."};
    }
    return FormError{};
}

}  // namespace marvist
