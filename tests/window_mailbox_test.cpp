// Jobs run off the calling thread and their results come back through the mailbox,
// which here is woken into a queue the test thread drains, as a window's loop would.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/window_mailbox.h"

namespace {

using namespace std::chrono_literals;

class Loop {
public:
    std::shared_ptr<WindowMailbox> mailbox = std::make_shared<WindowMailbox>([this] {
        std::lock_guard lock(mutex_);
        woken_ = true;
        wake_.notify_one();
    });

    // Delivers what was posted, once woken; false when nothing came within the wait.
    bool deliver_within(std::chrono::milliseconds wait)
    {
        {
            std::unique_lock lock(mutex_);
            if (!wake_.wait_for(lock, wait, [this] { return woken_; }))
                return false;
            woken_ = false;
        }
        mailbox->deliver();
        return true;
    }

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    bool woken_ = false;
};

TEST(SpareThread, ResultComesBackOnTheLoopsThread)
{
    Loop loop;
    const auto loop_thread = std::this_thread::get_id();
    std::thread::id job_thread;
    std::thread::id done_thread;
    std::string received;
    run_on_spare_thread(
        loop.mailbox,
        [&] {
            job_thread = std::this_thread::get_id();
            return Text("reply");
        },
        [&](Text result) {
            done_thread = std::this_thread::get_id();
            received = std::string(result.view());
        });
    ASSERT_TRUE(loop.deliver_within(5s));
    EXPECT_EQ(received, "reply");
    EXPECT_NE(job_thread, loop_thread);
    EXPECT_EQ(done_thread, loop_thread);
}

// A request that never ends must not hold up the jobs that come after it.
TEST(SpareThread, StuckJobDoesNotHoldUpTheNext)
{
    Loop loop;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::vector<std::string> finished;
    const auto record = [&](Text result) { finished.emplace_back(result.view()); };
    run_on_spare_thread(
        loop.mailbox,
        [released] {
            released.wait();
            return Text("stuck");
        },
        record);
    run_on_spare_thread(loop.mailbox, [] { return Text("next"); }, record);
    ASSERT_TRUE(loop.deliver_within(5s));
    EXPECT_EQ(finished, std::vector<std::string>{"next"});

    release.set_value();
    ASSERT_TRUE(loop.deliver_within(5s));
    EXPECT_EQ(finished, (std::vector<std::string>{"next", "stuck"}));
}

// Presses come one after another, so one thread serves them all.
TEST(SpareThread, JobsInTurnShareOneThread)
{
    Loop loop;
    std::vector<std::thread::id> threads;
    for (int i = 0; i < 5; ++i) {
        run_on_spare_thread(
            loop.mailbox, [&] {
                threads.push_back(std::this_thread::get_id());
                return Text();
            },
            [](Text) {});
        ASSERT_TRUE(loop.deliver_within(5s));
        // The thread posts before it goes back to waiting; let it get there.
        std::this_thread::sleep_for(100ms);
    }
    for (const auto& id : threads)
        EXPECT_EQ(id, threads.front());
}

TEST(SpareThread, ClosedMailboxDropsLateResults)
{
    Loop loop;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    bool done_ran = false;
    run_on_spare_thread(
        loop.mailbox,
        [released] {
            released.wait();
            return Text("late");
        },
        [&](Text) { done_ran = true; });
    loop.mailbox->close();
    release.set_value();
    EXPECT_FALSE(loop.deliver_within(300ms));
    loop.mailbox->deliver();
    EXPECT_FALSE(done_ran);
}

} // namespace
