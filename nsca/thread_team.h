// A fixed team of threads that runs one task at a time, each member on its
// own share. The calling thread is member 0; a team of one runs every task
// on the caller and starts no thread.
#pragma once

#include <atomic>
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

private:
    void serve(int member);

    int members_ = 1;
    const std::function<void(int)>* task_ = nullptr;
    std::atomic<unsigned> generation_{0};  // advanced once per task; workers wait on it
    std::atomic<int> pending_{0};          // workers still busy with the current task
    std::atomic<bool> stop_{false};
    std::vector<std::thread> workers_;
};

// Members for the decomposition's team: the hardware threads, at most 8.
int default_team_size();

}  // namespace marvist
