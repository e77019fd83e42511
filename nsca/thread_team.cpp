// ThreadTeam: workers spin briefly for the next task, then sleep on the
// generation counter, so that a team on a busy machine yields its cores.
#include "nsca/thread_team.h"

#include <algorithm>
#include <exception>

namespace marvist {
namespace {

constexpr int kSpins = 4000;

// Waits until value differs from old: a short spin, then a blocking wait.
template <class T>
T await_change(const std::atomic<T>& value, T old) {
    for (int k = 0; k < kSpins; ++k) {
        const T now = value.load(std::memory_order_acquire);
        if (now != old) return now;
    }
    value.wait(old, std::memory_order_acquire);
    return value.load(std::memory_order_acquire);
}

}  // namespace

ThreadTeam::ThreadTeam(int members) {
    // A thread the system will not start leaves the team smaller; the
    // results do not depend on its size.
    const int wanted = std::max(1, members);
    try {
        workers_.reserve(static_cast<std::size_t>(wanted - 1));
        for (int member = 1; member < wanted; ++member) workers_.emplace_back([this, member] { serve(member); });
    } catch (const std::exception&) {
    }
    members_ = static_cast<int>(workers_.size()) + 1;
}

ThreadTeam::~ThreadTeam() {
    stop_.store(true, std::memory_order_release);
    generation_.fetch_add(1, std::memory_order_acq_rel);
    generation_.notify_all();
    for (std::thread& t : workers_) t.join();
}

void ThreadTeam::run(const std::function<void(int)>& task) {
    if (members_ == 1) {
        task(0);
        return;
    }
    task_ = &task;
    pending_.store(members_ - 1, std::memory_order_release);
    generation_.fetch_add(1, std::memory_order_acq_rel);
    generation_.notify_all();
    task(0);
    for (int left = pending_.load(std::memory_order_acquire); left != 0;
         left = pending_.load(std::memory_order_acquire))
        await_change(pending_, left);
}

void ThreadTeam::serve(int member) {
    unsigned seen = 0;
    for (;;) {
        seen = await_change(generation_, seen);
        if (stop_.load(std::memory_order_acquire)) return;
        (*task_)(member);
        if (pending_.fetch_sub(1, std::memory_order_acq_rel) == 1) pending_.notify_one();
    }
}

int default_team_size() {
    const unsigned hw = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp(hw, 1u, 8u));
}

}  // namespace marvist
