#include "server/socket/WorkerPool.h"

#include <system_error>

namespace Net {

WorkerPool::WorkerPool(std::size_t maxThreads)
    : maxThreads_(maxThreads > 0 ? maxThreads : 1) {}

WorkerPool::~WorkerPool() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        changed_.notify_all();
    }
    for (std::thread& thread : threads_)
        thread.join();
}

bool WorkerPool::run(std::function<void()> task) {
    {
        std::lock_guard lock(mutex_);
        if (tasks_.size() >= idle_ && threads_.size() < maxThreads_) {
            try {
                threads_.emplace_back([this] { work(); });
            } catch (const std::system_error&) {
                // The system has no thread to spare now: one of ours takes the task when it comes free.
                if (threads_.empty())
                    return false;
            }
        }
        tasks_.push_back(std::move(task));
    }
    changed_.notify_one(); // the thread woken outside the lock need not wait for it
    return true;
}

std::size_t WorkerPool::threadCount() {
    std::lock_guard lock(mutex_);
    return threads_.size();
}

void WorkerPool::work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        ++idle_;
        changed_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
        --idle_;
        if (tasks_.empty())
            return; // stopping, and nothing left to run
        std::function<void()> task = std::move(tasks_.front());
        tasks_.pop_front();
        lock.unlock();
        task();
        task = nullptr; // what the task holds goes before the thread waits again
        lock.lock();
    }
}

} // namespace Net
