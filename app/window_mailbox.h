// Calls from other threads, handed to the window's thread. A front-end wakes its
// loop with its own kind of message; once the window is gone, calls are dropped.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "text/text.h"

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

// Runs job on a thread that is not busy with another job (one left idle by an earlier
// job, or a new one) and posts done with its result to the mailbox. The thread is not
// waited for: a request that never ends is left behind with it, and later jobs go on
// without it.
void run_on_spare_thread(std::shared_ptr<WindowMailbox> mailbox, std::function<Text()> job,
                         std::function<void(Text)> done);
