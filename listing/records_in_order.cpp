#include "listing/records_in_order.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/made_in_order.h"

namespace marvist {
namespace {

constexpr int kMostThreads = 4;

// The records of one chunk, held until their turn, as the lines a file
// takes: each complete record followed by a line end.
class HeldRecords : public RecordSink {
public:
    void put_record(std::string_view record, bool complete) override {
        lines_.append(record);
        ends_.push_back({lines_.size(), complete});
        if (complete) lines_ += '\n';
    }
    void hand_to(RecordSink& out) const { out.put_records(lines_, ends_); }
    // Empty again, keeping the room for the next chunk.
    void clear() {
        lines_.clear();
        ends_.clear();
    }

private:
    std::string lines_;
    std::vector<RecordEnd> ends_;
};

}  // namespace

void write_in_order(RecordSink& out, std::int64_t count, const FormatItems& format, InOrderOptions options) {
    const std::int64_t per_chunk = std::max<std::int64_t>(options.items_per_chunk, 1);
    const int threads = options.threads > 0 ? options.threads : processor_threads(kMostThreads);
    if (threads == 1 || count <= per_chunk) {
        format(0, count, out);
        return;
    }
    make_in_order<HeldRecords>(
        (count + per_chunk - 1) / per_chunk, threads,
        [&](std::int64_t chunk, HeldRecords& records) {
            records.clear();
            const std::int64_t first = chunk * per_chunk;
            format(first, std::min(first + per_chunk, count), records);
        },
        [&](std::int64_t, HeldRecords& records) {
            records.hand_to(out);
            return true;
        });
}

}  // namespace marvist
