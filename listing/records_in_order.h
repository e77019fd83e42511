// Many listing lines formatted on several threads and handed to the listing
// in order. The records that reach the sink, and the order in which they
// reach it, are those of formatting every item in turn on the calling
// thread; only the work is shared.
#pragma once

#include <cstdint>
#include <functional>

#include "base/layout.h"

namespace marvist {

// Writes the records of items [first, last) to sink, item after item.
using FormatItems = std::function<void(std::int64_t first, std::int64_t last, RecordSink& sink)>;

// How the items are shared out.
struct InOrderOptions {
    int threads = 0;                     // threads formatting, the caller included; 0: the processor's, at most 4
    std::int64_t items_per_chunk = 1024; // items a thread formats in one go
};

// Calls format for consecutive chunks of [0, count), on the calling thread
// and on helper threads, each chunk into memory of its own, and hands the
// records of each chunk to out in chunk order on the calling thread. With
// one thread (or one chunk) format writes straight to out. format runs on
// several threads at once: it may only read what the threads share.
// An exception from format reaches the caller after the records written
// before it; a helper thread the system does not start leaves fewer.
//   out      the sink, used on the calling thread only
//   count    items, >= 0
//   format   writes the records of a range of items
void write_in_order(RecordSink& out, std::int64_t count, const FormatItems& format, InOrderOptions options = {});

}  // namespace marvist
