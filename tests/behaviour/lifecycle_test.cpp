// Closing: the question when the page holds codes, and how the whole program ends
// (each in a child process of its own, see scenarios.cpp).
#include <chrono>

#include "app/program_state.h"
#include "behaviour/behaviour.h"
#include "support/child_process.h"
#include "support/relocate.h"
#include "support/test_files.h"
#include "text/program_texts.h"

using namespace std::chrono_literals;

namespace {

std::string close_question(int count)
{
    return std::string(gbk::close_question_prefix) + std::to_string(count) + std::string(gbk::close_question_suffix);
}

struct CloseRow {
    const char* name;
    void (*request)();
    void (*answer)();
    bool closes;
};

void escape() { driver::key(Key::escape); }

const CloseRow close_rows[] = {
    {"Esc, answered by N", escape, [] { driver::key(Key::letter_n); }, false},
    {"Esc, answered by Enter on the default", escape, [] { driver::key(Key::enter); }, false},
    {"close button, answered by a click on 否", driver::close_button, [] { driver::click_question(false); }, false},
    {"close button, answered by Y", driver::close_button, [] { driver::key(Key::letter_y); }, true},
};

// The time the child wrote down when it asked to close, against now.
long long milliseconds_since_close()
{
    const std::string written = test_files::read(test_files::join(relocated::home(), "closed_at"));
    return written.empty() ? -1 : wall_clock_ms() - std::stoll(written);
}

} // namespace

TEST_F(Behaviour, ClosingWithCodesNotExportedAsksFirst)
{
    serve_reply(raffle_reply("KEEP"));
    press();
    press();
    const std::string page = view(program.page_html);
    for (const CloseRow& row : close_rows) {
        SCOPED_TRACE(row.name);
        std::string asked;
        bool defaults_to_no = false;
        driver::call_later(150ms, [&] {
            asked = driver::question_text();
            defaults_to_no = driver::question_defaults_to_no();
            row.answer();
        });
        row.request();
        driver::pump_until([&] { return !asked.empty() && (!row.closes || !driver::window_open()); }, 5s);
        driver::pump_until([] { return false; }, 200ms);
        EXPECT_EQ(asked, close_question(2));
        EXPECT_TRUE(defaults_to_no);
        EXPECT_EQ(driver::window_open(), !row.closes);
        if (row.closes)
            break;
        EXPECT_EQ(view(program.page_html), page);
        EXPECT_EQ(view(read_control_text(Control::编辑框1)), page);
        EXPECT_EQ(program.generated_count, 2);
        EXPECT_EQ(view(read_control_text(Control::透明标签1)), status_for(2));
    }
}

TEST_F(Behaviour, ClosingAnEmptyPageAsksNothing)
{
    std::string asked = "not looked";
    driver::call_later(100ms, [&] { asked = driver::question_text(); });
    driver::key(Key::escape);
    EXPECT_TRUE(driver::pump_until([] { return !driver::window_open(); }, 1s));
    driver::pump_until([] { return false; }, 200ms);
    EXPECT_NE(asked, close_question(0)); // no box was open when the timer looked, if it ran at all
}

TEST(Lifecycle, EscapeRightAfterStartEndsWithZero)
{
    const ChildOutcome outcome = run_child("escape_at_start", 60s);
    EXPECT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, 0);
}

TEST(Lifecycle, FatalStopEndsWithMinusOne)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer's operator new ends the process itself and never calls the new-handler";
#endif
    const ChildOutcome outcome = run_child("exhaust_memory", 60s);
    EXPECT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, fatal_exit_status);
}

// Closing never waits for the network: with a peer that never answers, the
// program ends within a second of the request, with status 0.
TEST(Lifecycle, ClosingDuringASilentFetchEndsAtOnce)
{
    for (const char* scenario : {"escape_during_silent_fetch", "yes_during_silent_fetch"}) {
        SCOPED_TRACE(scenario);
        test_files::remove_tree(test_files::join(relocated::home(), "closed_at"));
        const ChildOutcome outcome = run_child(scenario, 60s);
        const long long since_close = milliseconds_since_close();
        EXPECT_TRUE(outcome.finished);
        EXPECT_EQ(outcome.status, 0);
        EXPECT_GE(since_close, 0);
        EXPECT_LT(since_close, 1000);
    }
}
