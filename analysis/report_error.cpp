#include "analysis/report_error.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace marvist {
namespace {

struct Message {
    ErrorCode code;
    std::span<const std::string_view> lines;
};

// Lines written before the blank line that every report carries.
constexpr std::string_view k37[] = {" ", " There is not enough memory available to", " analyse this data set.",
                                    " Please contact the authors to inform him of this error.", " "};
constexpr std::string_view k50[] = {" ", " Fatal error in singular value decomposition routine",
                                    " Please contact the author of the program"};
constexpr std::string_view k100[] = {" ", " One of more of the rows have no observations"};
constexpr std::string_view k110[] = {" ", " One of more of the columns have no observations"};
constexpr std::string_view k120[] = {" ", " The number of rows is either 0 or 1"};
constexpr std::string_view k130[] = {" ", " The number of columns either 0 or 1"};
constexpr std::string_view k140[] = {" ", " The number of axes for NonSymmetric Correspondence Analysis was given as 0",
                                     " The number was reset at 1"};
constexpr std::string_view k150[] = {" ", " The number of axes for NonSymmetric Correspondence Analysis was too large.",
                                     " The number was set at its maximum value"};
// A negative number of supplementary predictors can only come from a number
// field typed with non-digits; it must not reach the sizing of the table.
constexpr std::string_view k160[] = {" ", " The number of supplementary predictors is negative."};
constexpr std::string_view k200[] = {" ", " Tau is 0, thus rows and columns are perfectly independent.",
                                     " NonSymmetric Correspondence Analysis will be skipped."};
constexpr std::string_view k400[] = {" ", " While attempting to open the output file an error occurred.",
                                     " Please check the presence of the file.",
                                     " You may have specified an incorrect name or directory.", " "};
constexpr std::string_view k410[] = {" ", "  While attempting to open the data file an error occurred.",
                                     " Please check the presence of the file.",
                                     " You may have specified an incorrect name or directory.", " "};
constexpr std::string_view k420[] = {" ", "  While attempting to open the label file an error occurred.",
                                     " Please check the presence of the file.",
                                     " You may have specified an incorrect name or directory.", " "};

// A listing that could not be written in full must not end as a success.
constexpr std::string_view k430[] = {" ", " While writing the output file an error occurred.",
                                     " The disk may be full, or the file may not be writable.", " "};

constexpr Message kFirstGroup[] = {
    {ErrorCode::Memory, k37},
    {ErrorCode::SvdFailed, k50},
    {ErrorCode::EmptyRow, k100},
    {ErrorCode::EmptyColumn, k110},
    {ErrorCode::TooFewRows, k120},
    {ErrorCode::TooFewColumns, k130},
    {ErrorCode::ZeroAxes, k140},
    {ErrorCode::TooManyAxes, k150},
    {ErrorCode::NegativeSupplementary, k160},
    {ErrorCode::TauZero, k200},
    {ErrorCode::ListingOpen, k400},
    {ErrorCode::DataOpen, k410},
    {ErrorCode::LabelOpen, k420},
    {ErrorCode::ListingWrite, k430},
};

// Lines written after the blank line.
constexpr std::string_view k510[] = {" While reading the data file an end-of-file mark was encountered.",
                                     " This might mean that: ",
                                     " (1) you have chosen an incorrect file;",
                                     " (2) your specification of the numbrs of categories is incorrect;",
                                     " (3) you are attempting to read more data than there are;",
                                     " (4) the format is incorrectly specified.",
                                     " "};
constexpr std::string_view k512[] = {" ", " While reading the data file an input error occurred.",
                                     " Probably the format has been incorrectly specified;",
                                     " or you have funny characters in this file.", " "};
constexpr std::string_view k520[] = {" ",
                                     " While reading the label file an end-of-file mark was encountered.",
                                     " This might mean that",
                                     " (1) you have chosen an incorrect file;",
                                     " (2) your specification of the numbrs of categories is incorrect;",
                                     " (3) you are attempting to read more labels than there are;",
                                     " (4) the format is incorrect; it should always be (13A6).",
                                     " "};
constexpr std::string_view k522[] = {" ", " While reading the label file an input error occurred.",
                                     " Probably the format has been incorrectly specified;",
                                     " or you have funny characters in this file.", " "};

constexpr Message kSecondGroup[] = {
    {ErrorCode::DataEnd, k510},
    {ErrorCode::DataRead, k512},
    {ErrorCode::LabelEnd, k520},
    {ErrorCode::LabelRead, k522},
};

void write_group(ReportSink& sink, std::span<const Message> group, ErrorCode code) {
    for (const Message& m : group) {
        if (m.code != code) continue;
        for (std::string_view line : m.lines) sink.write_line(ReportWindow::Errors, line);
    }
}

// The heading of a severity; none for a severity outside the four.
std::optional<std::string_view> heading(Severity severity) {
    switch (severity) {
        case Severity::None: return "  ";
        case Severity::Warning: return "  W A R N I N G ";
        case Severity::Error:
        case Severity::Fatal: return "  F A T A L   E R R O R ";
    }
    return std::nullopt;
}

}  // namespace

void report_error(Reporter& reporter, ErrorCode code, Severity severity) {
    NullReportSink discard;
    ReportSink& sink = reporter.sink ? *reporter.sink : discard;
    const auto write = [&sink](std::string_view line) { sink.write_line(ReportWindow::Errors, line); };

    if (reporter.error_window_state == WindowState::Last) {  // the driver's closing call
        sink.end_window(ReportWindow::Errors);
        return;
    }
    if (reporter.error_window_state == WindowState::First) {
        sink.open_window(ReportWindow::Errors);
        reporter.error_window_state = WindowState::Mid;
    }
    sink.error_reported(code, severity);

    if (const auto line = heading(severity)) write(*line);
    write_group(sink, kFirstGroup, code);
    write(" ");
    write_group(sink, kSecondGroup, code);

    if (code == ErrorCode::FailedJob) {  // closing report of a failed job
        write(" ");
        write(std::string(46, '\xCD'));  // ═ in code page 437
        write(" ");
        write(" Marvist ended prematurely due to fatal errors");
        return;
    }
    if (static_cast<int>(severity) < static_cast<int>(Severity::Fatal)) return;

    write("  E N D   O F   P R O G R A M   D U E   T O   F A T A L  ");
    if (code == ErrorCode::None) return;
    if (code == ErrorCode::Memory)
        write("                 M E M O R Y   E R R O R S");
    else if (code == ErrorCode::SvdFailed)
        write("                  E R R O R   I N  S.V.D.");
    else
        write("                     I/O   E R R O R S  ");
}

}  // namespace marvist
