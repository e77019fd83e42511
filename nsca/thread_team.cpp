// ThreadTeam: workers spin for the next task, then sleep on the generation
// counter, so that a team left idle yields its cores.
#include "nsca/thread_team.h"

#include <algorithm>
#include <chrono>
#include <exception>

namespace marvist {
namespace {

// About a millisecond of spinning: the serial work between two tasks of a
// reduction takes microseconds, and waking a sleeping thread takes longer
// than most tasks.
constexpr int kSpins = 20000;

constexpr std::chrono::microseconds kLagAllowance{200};

inline void relax() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

// Waits until value differs from old: a spin, then a blocking wait.
template <class T>
T await_change(const std::atomic<T>& value, T old) {
    for (int k = 0; k < kSpins; ++k) {
        const T now = value.load(std::memory_order_acquire);
        if (now != old) return now;
        relax();
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
    if (members_ == 1 || alone()) {
        for (int member = 0; member < members_; ++member) task(member);
        return;
    }
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    task_ = &task;
    pending_.store(members_ - 1, std::memory_order_release);
    generation_.fetch_add(1, std::memory_order_acq_rel);
    generation_.notify_all();
    task(0);
    const Clock::time_point own_done = Clock::now();
    for (int left = pending_.load(std::memory_order_acquire); left != 0;
         left = pending_.load(std::memory_order_acquire))
        await_change(pending_, left);
    // Waiting for the others longer than the caller's own share took, and
    // longer than a scheduler's tick would explain, counts as lagging.
    if (Clock::now() - own_done > (own_done - start) + kLagAllowance) ++lagging_runs_;
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

void publish(std::atomic<std::int64_t>& progress, std::int64_t value) {
    progress.store(value, std::memory_order_release);
    progress.notify_all();
}

void await_at_least(const std::atomic<std::int64_t>& progress, std::int64_t target) {
    for (std::int64_t now = progress.load(std::memory_order_acquire); now < target;
         now = progress.load(std::memory_order_acquire))
        await_change(progress, now);
}

int default_team_size() {
    const unsigned hw = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp(hw, 1u, 8u));
}

}  // namespace marvist
