// What every record sink does with several records given at once.
#include "base/layout.h"

namespace marvist {

void RecordSink::put_records(std::string_view lines, std::span<const RecordEnd> ends) {
    std::size_t begin = 0;
    for (const RecordEnd& record : ends) {
        put_record(lines.substr(begin, record.end - begin), record.complete);
        begin = record.end + (record.complete ? 1 : 0);
    }
}

}  // namespace marvist
