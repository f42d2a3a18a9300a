// Calls from other threads, handed to the window's thread. A front-end wakes its
// loop with its own kind of message; once the window is gone, calls are dropped.
#pragma once

#include <functional>
#include <mutex>
#include <utility>
#include <vector>

class WindowMailbox {
public:
    // wake runs under the mailbox's lock, on the posting thread, while the window exists.
    explicit WindowMailbox(std::function<void()> wake) : wake_(std::move(wake)) {}

    // From any thread.
    void post(std::function<void()> call)
    {
        std::lock_guard lock(mutex_);
        if (closed_)
            return;
        calls_.push_back(std::move(call));
        if (calls_.size() == 1)
            wake_();
    }

    // On the window's thread, when woken: runs what was posted, in order.
    void deliver()
    {
        std::vector<std::function<void()>> calls;
        {
            std::lock_guard lock(mutex_);
            calls.swap(calls_);
        }
        for (auto& call : calls)
            call();
    }

    // The window is going: nothing posted from now on runs, nor anything still waiting.
    void close()
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        calls_.clear();
    }

private:
    std::mutex mutex_;
    std::function<void()> wake_;
    std::vector<std::function<void()>> calls_;
    bool closed_ = false;
};
