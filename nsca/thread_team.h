// A fixed team of threads that runs one task at a time, each member on its
// own share. The calling thread is member 0; a team of one runs every task
// on the caller and starts no thread.
//
// On a busy machine a member's thread may wait long for a core, and then
// sharing costs more than it saves: after a few tasks in which the caller
// waited for the others much longer than its own share took, the caller
// runs every share itself, one after the other. Which member does a share
// never changes what the share computes.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

namespace marvist {

class ThreadTeam {
public:
    // members  threads to share a task among (the caller included); fewer
    //          when the system refuses to start a thread, and at least 1
    explicit ThreadTeam(int members);
    ~ThreadTeam();
    ThreadTeam(const ThreadTeam&) = delete;
    ThreadTeam& operator=(const ThreadTeam&) = delete;

    int size() const { return members_; }

    // Runs task(member) for every member 0..size()-1, member 0 on the calling
    // thread, and returns when all have finished. Not reentrant.
    void run(const std::function<void(int)>& task);

    // True once the caller runs every share itself.
    bool alone() const { return lagging_runs_ >= kLaggingRunsToGoAlone; }

private:
    static constexpr int kLaggingRunsToGoAlone = 8;

    void serve(int member);

    int members_ = 1;
    int lagging_runs_ = 0;
    const std::function<void(int)>* task_ = nullptr;
    std::atomic<unsigned> generation_{0};  // advanced once per task; workers wait on it
    std::atomic<int> pending_{0};          // workers still busy with the current task
    std::atomic<bool> stop_{false};
    std::vector<std::thread> workers_;
};

// Members for the decomposition's team: the hardware threads, at most 8.
int default_team_size();

// Progress of one member through a task, for a member that must wait for
// another's: publish() raises it (and wakes a waiter), await_at_least()
// waits, spinning at first, until it reaches target.
void publish(std::atomic<std::int64_t>& progress, std::int64_t value);
void await_at_least(const std::atomic<std::int64_t>& progress, std::int64_t target);

}  // namespace marvist
