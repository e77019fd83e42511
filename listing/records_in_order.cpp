#include "listing/records_in_order.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace marvist {
namespace {

constexpr unsigned kMostThreads = 4;

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

// One place of the ring of chunks formatted ahead of the writing.
struct Slot {
    HeldRecords records;
    std::exception_ptr failure;  // format threw after writing `records`
    bool ready = false;          // formatted, not yet handed on
};

// The chunks of one call: taken in order by whichever thread is free,
// written in order by the caller. Chunk k uses slot k mod the ring's size,
// and is taken only once chunk k - size has been written.
class Pipeline {
public:
    Pipeline(RecordSink& out, std::int64_t count, const FormatItems& format, std::int64_t per_chunk, int threads)
        : out_(out),
          count_(count),
          format_(format),
          per_chunk_(per_chunk),
          chunks_((count + per_chunk - 1) / per_chunk),
          slots_(static_cast<std::size_t>(2 * threads)) {}

    void run(int helpers) {
        std::vector<std::thread> threads;
        try {
            for (int h = 0; h < helpers; ++h) threads.emplace_back([this] { help(); });
        } catch (const std::exception&) {
            // Fewer helpers: the caller formats what they would have.
        }
        const std::exception_ptr failure = write_all();
        for (std::thread& t : threads) t.join();
        if (failure) std::rethrow_exception(failure);
    }

private:
    Slot& slot_of(std::int64_t chunk) { return slots_[static_cast<std::size_t>(chunk) % slots_.size()]; }

    // The next chunk within reach of the writing, taken; false when none is.
    bool take(std::int64_t& chunk) {
        if (stop_ || next_ >= chunks_ || next_ >= written_ + static_cast<std::int64_t>(slots_.size())) return false;
        chunk = next_++;
        return true;
    }

    // Formats a taken chunk outside the lock.
    void format_chunk(std::unique_lock<std::mutex>& lock, std::int64_t chunk) {
        Slot& slot = slot_of(chunk);
        lock.unlock();
        slot.records.clear();
        slot.failure = nullptr;
        const std::int64_t first = chunk * per_chunk_;
        try {
            format_(first, std::min(first + per_chunk_, count_), slot.records);
        } catch (...) {
            slot.failure = std::current_exception();
        }
        lock.lock();
        slot.ready = true;
        changed_.notify_all();
    }

    void help() {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] {
                return stop_ || next_ >= chunks_ || next_ < written_ + static_cast<std::int64_t>(slots_.size());
            });
            std::int64_t chunk = 0;
            if (!take(chunk)) return;
            format_chunk(lock, chunk);
        }
    }

    // The caller's part: hands the chunks on in order, and formats one
    // itself while the next to hand on is not ready. Returns the first
    // failure, of format or of the sink, after which nothing more is handed on.
    std::exception_ptr write_all() {
        std::exception_ptr failure;
        std::unique_lock lock(mutex_);
        while (written_ < chunks_ && !failure) {
            Slot& slot = slot_of(written_);
            std::int64_t chunk = 0;
            if (slot.ready) {
                lock.unlock();
                try {
                    slot.records.hand_to(out_);
                } catch (...) {
                    failure = std::current_exception();
                }
                if (!failure) failure = slot.failure;
                lock.lock();
                slot.ready = false;
                ++written_;
                changed_.notify_all();
            } else if (take(chunk)) {
                format_chunk(lock, chunk);
            } else {
                changed_.wait(lock);
            }
        }
        stop_ = true;
        changed_.notify_all();
        return failure;
    }

    RecordSink& out_;
    const std::int64_t count_;
    const FormatItems& format_;
    const std::int64_t per_chunk_;
    const std::int64_t chunks_;
    std::vector<Slot> slots_;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::int64_t next_ = 0;     // the next chunk to take
    std::int64_t written_ = 0;  // chunks handed on
    bool stop_ = false;         // all handed on, or a failure
};

}  // namespace

void write_in_order(RecordSink& out, std::int64_t count, const FormatItems& format, InOrderOptions options) {
    const std::int64_t per_chunk = std::max<std::int64_t>(options.items_per_chunk, 1);
    const int threads = options.threads > 0
                            ? options.threads
                            : static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, kMostThreads));
    if (threads == 1 || count <= per_chunk) {
        format(0, count, out);
        return;
    }
    Pipeline(out, count, format, per_chunk, threads).run(threads - 1);
}

}  // namespace marvist
