// The layout notation in which every output line and the user's data format
// are written: "(' ',I2,2X,A1,1X,A6,1X,'│',10F7.3)" and the like.
//
// A layout is parsed once into an item tree (Layout::parse, or cached_layout
// for the system's own layouts), then applied any number of times:
//   write_records     values -> one or more records (lines) of a RecordSink
//   write_to_buffer   values -> one fixed-length text
//   read_integers     records of a RecordSource -> integer targets
//   read_characters   records -> character targets ("(13A6)" label files)
//   read_free_format  the free-format reader used when the data format is '*'
//   free_form_record  free-form writing (set-up files, on-screen data entry)
//
// Records are code-page-437 byte strings. Literal text in a layout may be
// written in UTF-8 ("═", "│", "²"): the parser stores the code-page-437 byte.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace marvist {

// Text outside the notation (unbalanced parentheses, unknown descriptor, a
// width of 0 where one is needed, ...). For the system's own layouts this is
// a programming error; for a user's data format it is an input error.
class LayoutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct LayoutTree;  // the parsed item tree, defined by the engine

class Layout {
public:
    // Parses text. Leading blanks and blanks between items are allowed; the
    // text after the parenthesis that closes the first one is ignored.
    static Layout parse(std::string_view text);

    // True when some item reads or writes a value (I, F or A).
    bool has_data_descriptor() const;
    const LayoutTree& tree() const { return *tree_; }

private:
    std::shared_ptr<const LayoutTree> tree_;
};

// The system's own layouts: parsed on first use, then kept for the run.
const Layout& cached_layout(std::string_view text);

// One value of a record list. Text values are taken at their full length
// (callers pass fixed-length fields); the text must outlive the call.
class Value {
public:
    enum class Kind { Integer, Real, Text };

    Value(int v) : kind_(Kind::Integer), integer_(v) {}
    Value(long v) : kind_(Kind::Integer), integer_(v) {}
    Value(long long v) : kind_(Kind::Integer), integer_(v) {}
    Value(double v) : kind_(Kind::Real), real_(v) {}
    Value(std::string_view v) : kind_(Kind::Text), text_(v) {}
    Value(const char* v) : kind_(Kind::Text), text_(v) {}
    Value(const std::string& v) : kind_(Kind::Text), text_(v) {}

    Kind kind() const { return kind_; }
    std::int64_t integer() const { return integer_; }
    double real() const { return real_; }
    std::string_view text() const { return text_; }

private:
    Kind kind_;
    std::int64_t integer_ = 0;
    double real_ = 0.0;
    std::string_view text_;
};

// Where one record of several given together ends in their text (one past
// its last byte), and whether it is complete.
struct RecordEnd {
    std::size_t end;
    bool complete;
};

// Destination of written records.
class RecordSink {
public:
    virtual ~RecordSink() = default;
    // One record of code-page-437 bytes. complete is false when the layout
    // ended with '$': the line stays open and the next record continues it.
    virtual void put_record(std::string_view record, bool complete) = 0;
    // Several records at once, as if each were given to put_record in turn
    // (which is what this does unless a sink does better):
    //   lines  the records in order, each complete one followed by '\n'
    //   ends   where each record ends in lines, and whether it is complete
    virtual void put_records(std::string_view lines, std::span<const RecordEnd> ends);
};

// Writing a record list.
void write_records(RecordSink& out, const Layout& layout, std::span<const Value> values);
void write_records(RecordSink& out, std::string_view layout, std::initializer_list<Value> values = {});

// Writing to a text buffer of `length` characters: the first record,
// blank-padded or cut to that length.
std::string write_to_buffer(const Layout& layout, std::span<const Value> values, std::size_t length);
std::string write_to_buffer(std::string_view layout, std::initializer_list<Value> values, std::size_t length);

// Free-form writing: a record that begins with one blank, then the values in
// order; integers in decimal, each number after an earlier value preceded by
// one blank; text values as they stand, without quotes or separators.
std::string free_form_record(std::initializer_list<Value> values);

// Source of records to read.
class RecordSource {
public:
    virtual ~RecordSource() = default;
    // The next record without its line end (a "\r\n" end counts as a line
    // end); false at the end of the file or after a read failure.
    virtual bool next_record(std::string& record) = 0;
    // True when reading stopped on a failure of the file, not at its end.
    virtual bool failed() const { return false; }
    // True when the record last given was longer than the source keeps: only
    // its first part was given, and a read that needs more of it fails.
    virtual bool truncated() const { return false; }
};

// The values an integer target may take. A value read outside them is an
// input error at once, whatever the rest of the read would meet.
struct IntegerRange {
    std::int64_t min = std::numeric_limits<std::int64_t>::min();
    std::int64_t max = std::numeric_limits<std::int64_t>::max();
};

// Status of one read operation.
inline constexpr int kReadOk = 0;
inline constexpr int kReadEndOfFile = -1;
inline constexpr int kReadInputError = 1;

// One read operation with a layout, starting at the next record: Iw fields
// into integers. Short records are padded with blanks, blanks inside a field
// are ignored, a blank field reads as 0; '/' and reversion move on to the
// next record. After the last value, '/' and nX are still acted on up to the
// next data item, a ':' or the end of the layout (a '/' that finds no record
// is end of file). What is left of the last record used is skipped.
// A layout that cannot be applied (literals, F or A items, no integer item at
// all) is an input error and never loops.
int read_integers(RecordSource& in, const Layout& layout, std::span<std::int64_t> targets, IntegerRange range = {});

// One read operation with a layout into character targets: Aw takes w
// characters as they stand; each target keeps its length.
int read_characters(RecordSource& in, const Layout& layout, std::span<std::string> targets);

// A target of the free-format reader: an integer, or a text of fixed length.
struct FreeTarget {
    std::int64_t* integer = nullptr;  // set for an integer target
    std::string* text = nullptr;      // set for a character target
    std::size_t length = 0;           // declared length of a character target
};

// One free-format read operation, starting at the next record: values
// separated by blanks, commas or line ends, over as many records as needed;
// r*v repeats v, a null value (",," or r*) leaves its target unchanged, '/'
// ends the read. Character values may be quoted ('..' or "..").
int read_free_format(RecordSource& in, std::span<FreeTarget> targets);
int read_free_format(RecordSource& in, std::span<std::int64_t> targets, IntegerRange range = {});

}  // namespace marvist
