// The numbers by which a job's errors and warnings are reported, and their
// severities. The message lines of each code are the error reporter's
// (analysis/report_error.cpp); a code outside this list writes no message.
#pragma once

namespace marvist {

enum class ErrorCode : int {
    None = 0,                     // the driver's closing call of the error window
    Memory = 37,                  // working storage cannot be obtained
    SvdFailed = 50,               // the singular value decomposition did not converge
    EmptyRow = 100,               // a row without observations
    EmptyColumn = 110,            // a column without observations
    TooFewRows = 120,             // fewer than 2 rows
    TooFewColumns = 130,          // fewer than 2 columns
    ZeroAxes = 140,               // warning: 0 NSCA axes asked for, 1 taken
    TooManyAxes = 150,            // warning: too many NSCA axes, the most possible taken
    NegativeSupplementary = 160,  // a negative number of supplementary predictors
    TauZero = 200,                // warning: tau is 0, NSCA is skipped
    ListingOpen = 400,            // the listing cannot be created
    DataOpen = 410,               // the data file cannot be opened
    LabelOpen = 420,              // the label file cannot be opened
    ListingWrite = 430,           // the listing could not be written in full
    DataEnd = 510,                // the data file ends early
    DataRead = 512,               // the data file cannot be read
    LabelEnd = 520,               // the label file ends early
    LabelRead = 522,              // the label file cannot be read
    FailedJob = 999,              // closing report of a job that ended fatally
};

// How grave a report is; it chooses the heading of its block.
enum class Severity : int {
    None = 0,     // no heading (the closing report of a failed job)
    Warning = 1,  // the job goes on
    Error = 2,    // a fatal heading without the closing lines (raised by nothing)
    Fatal = 3,    // the job ends
};

}  // namespace marvist
