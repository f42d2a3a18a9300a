#include "app/window_mailbox.h"

#include <condition_variable>
#include <deque>
#include <thread>

namespace {

// Starting a thread for every fetch cost more than the fetch's own work on the
// window's side, so a thread that finished its job waits for the next one.
struct SpareThreads {
    std::mutex mutex;
    std::condition_variable work_waiting;
    std::deque<std::function<void()>> jobs;
    int idle = 0; // waiting threads that no job has been promised to yet
};

void serve(const std::shared_ptr<SpareThreads>& pool)
{
    std::unique_lock lock(pool->mutex);
    for (;;) {
        if (pool->jobs.empty()) {
            ++pool->idle;
            pool->work_waiting.wait(lock, [&] { return !pool->jobs.empty(); });
        }
        std::function<void()> job = std::move(pool->jobs.front());
        pool->jobs.pop_front();
        lock.unlock();
        job();
        job = nullptr; // its captures go before the thread waits again
        lock.lock();
    }
}

// Every job gets a thread of its own that is free: a waiting one, or a new one.
void hand_over(std::function<void()> job)
{
    // The threads share the pool, so it outlives the static at exit while they wait.
    static const std::shared_ptr<SpareThreads> pool = std::make_shared<SpareThreads>();
    std::lock_guard lock(pool->mutex);
    pool->jobs.push_back(std::move(job));
    if (pool->idle > 0) {
        --pool->idle;
        pool->work_waiting.notify_one();
    } else {
        std::thread([p = pool] { serve(p); }).detach();
    }
}

} // namespace

void run_on_spare_thread(std::shared_ptr<WindowMailbox> mailbox, std::function<Text()> job,
                         std::function<void(Text)> done)
{
    hand_over([job = std::move(job), done = std::move(done), mailbox = std::move(mailbox)] {
        Text result = job();
        mailbox->post([done, result = std::move(result)]() mutable { done(std::move(result)); });
    });
}
