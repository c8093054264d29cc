#pragma once
// Threads that serve connections: started as connections need them, up to a bound, and kept for the
// following ones, so a connection costs no thread start and end of its own. Plain C++, no Qt.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace Net {

class WorkerPool {
public:
    explicit WorkerPool(std::size_t maxThreads);
    // Runs what is still queued, then ends every thread.
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // An idle thread takes the task, or a new one while fewer than the bound run; otherwise it waits
    // for the first thread to come free. False when no thread runs and none could be started.
    bool run(std::function<void()> task);
    std::size_t threadCount();

private:
    void work();

    const std::size_t maxThreads_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> tasks_;
    std::vector<std::thread> threads_;
    std::size_t idle_ = 0;
    bool stopping_ = false;
};

} // namespace Net
