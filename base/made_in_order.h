// Work cut into chunks that are made on several threads and taken up in
// order on the calling thread: large listings and CSV files share out the
// formatting of their lines, never the writing.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace marvist {

// The threads to use when none are asked for: the processor's, at most `most`.
inline int processor_threads(int most) {
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, static_cast<unsigned>(most)));
}

// Calls make(k, slot) for every chunk k of [0, chunks), on the calling thread
// and threads - 1 helper threads, and take(k, slot) for each chunk in turn on
// the calling thread. A chunk is made into a slot of a ring of 2 * threads
// Slot values, at most that many chunks ahead of the one taken; chunk
// k + ring size reuses the slot of chunk k once it is taken, so make starts
// from the slot as take left it. take returns false to stop: no later chunk
// is taken. An exception from make reaches the caller once that chunk's slot,
// as make left it, has been taken; one from take, at once. A helper thread
// the system does not start leaves fewer helpers.
//   chunks   >= 0
//   threads  >= 1
//   make     fills a slot; runs on several threads at once, so it may only
//            read what they share
//   take     uses a slot; runs on the calling thread only
template <class Slot, class Make, class Take>
void make_in_order(std::int64_t chunks, int threads, const Make& make, const Take& take) {
    struct Place {
        Slot slot{};
        std::exception_ptr failure;  // make threw after writing `slot`
        bool ready = false;          // made, not yet taken
    };
    std::vector<Place> ring(static_cast<std::size_t>(2 * std::max(threads, 1)));
    const auto ring_size = static_cast<std::int64_t>(ring.size());
    const auto place_of = [&](std::int64_t k) -> Place& { return ring[static_cast<std::size_t>(k % ring_size)]; };

    std::mutex mutex;
    std::condition_variable changed;
    std::int64_t next = 0;   // the next chunk to make
    std::int64_t taken = 0;  // chunks taken, in order
    bool stop = false;       // all taken, or stopped

    // The next chunk within reach of the taking, claimed; false when none is.
    const auto claim = [&](std::int64_t& k) {
        if (stop || next >= chunks || next >= taken + ring_size) return false;
        k = next++;
        return true;
    };
    // Makes a claimed chunk outside the lock.
    const auto make_chunk = [&](std::unique_lock<std::mutex>& lock, std::int64_t k) {
        Place& place = place_of(k);
        lock.unlock();
        place.failure = nullptr;
        try {
            make(k, place.slot);
        } catch (...) {
            place.failure = std::current_exception();
        }
        lock.lock();
        place.ready = true;
        changed.notify_all();
    };
    const auto help = [&] {
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [&] { return stop || next >= chunks || next < taken + ring_size; });
            std::int64_t k = 0;
            if (!claim(k)) return;
            make_chunk(lock, k);
        }
    };

    std::vector<std::thread> helpers;
    try {
        for (int h = 1; h < threads; ++h) helpers.emplace_back(help);
    } catch (const std::exception&) {
        // Fewer helpers: the calling thread makes what they would have.
    }
    std::exception_ptr failure;
    {
        std::unique_lock lock(mutex);
        while (taken < chunks && !stop) {
            Place& place = place_of(taken);
            std::int64_t k = 0;
            if (place.ready) {
                lock.unlock();
                bool go_on = true;
                try {
                    go_on = take(taken, place.slot);
                } catch (...) {
                    failure = std::current_exception();
                }
                if (!failure) failure = place.failure;
                lock.lock();
                place.ready = false;
                ++taken;
                stop = failure != nullptr || !go_on;
                changed.notify_all();
            } else if (claim(k)) {
                make_chunk(lock, k);
            } else {
                changed.wait(lock);
            }
        }
        stop = true;
        changed.notify_all();
    }
    for (std::thread& helper : helpers) helper.join();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace marvist
