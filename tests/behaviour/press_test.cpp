// Presses of 按钮1 against a loopback raffle peer: what the page, the box, the
// counter and the label hold afterwards, and that the window lives while it waits.
#include <chrono>

#include "app/press_queue.h"
#include "app/program_state.h"
#include "behaviour/behaviour.h"
#include "codegen/snippet.h"
#include "support/relocate.h"
#include "support/test_files.h"
#include "text/program_texts.h"

using namespace std::chrono_literals;

namespace {

struct OutcomeRow {
    const char* name;
    std::vector<ScriptStep> script; // empty: nothing listens
    std::string appended;           // "" when the press fails
};

std::vector<OutcomeRow> outcome_rows()
{
    return {
        {"full reply", {ScriptServer::reply(http_reply("200 OK", raffle_reply("FULL")))}, plain_snippet("FULL", "2016-07-31")},
        {"code only", {ScriptServer::reply(http_reply("200 OK", "{\"activity\":\"ZZ9\"}"))}, plain_snippet("ZZ9", "")},
        {"refused connection", {}, ""},
        {"dropped connection", {ScriptServer::reset_connection()}, ""},
        {"empty body", {ScriptServer::reply(http_reply("200 OK", ""))}, ""},
        {"404 page without markers", {ScriptServer::reply(http_reply("404 Not Found", "<html>no such page</html>"))}, ""},
        {"markers in upper case", {ScriptServer::reply(http_reply("200 OK", "{\"TIME\":\"2016-07-31\",\"ACTIVITY\":\"UP\"}"))}, ""},
    };
}

} // namespace

TEST_F(Behaviour, ThreePressesGiveThreeSnippets)
{
    serve_reply(raffle_reply("A1B2C3"));
    for (int i = 0; i < 3; ++i)
        press();
    const std::string one = plain_snippet("A1B2C3", "2016-07-31");
    EXPECT_EQ(view(program.page_html), one + one + one);
    EXPECT_EQ(view(read_control_text(Control::编辑框1)), view(program.page_html));
    EXPECT_EQ(view(read_control_text(Control::透明标签1)), status_for(3));
    EXPECT_EQ(view(program.status_text), status_for(3));
    EXPECT_EQ(program.generated_count, 3);
    EXPECT_EQ(view(program.valid_until), "2016-07-31");
    EXPECT_EQ(view(program.coupon_code), "A1B2C3");
    ASSERT_EQ(raffle->requests().size(), 3u);
    EXPECT_TRUE(raffle->requests()[0].starts_with("GET /api/cola/raffle?activityid=NA0371140216 HTTP/1.0\r\n"));
}

// A press counts and appends only when the reply holds a code; otherwise the
// page, the box, the counter and the last success message stay.
TEST_F(Behaviour, PressOutcomes)
{
    for (const OutcomeRow& row : outcome_rows()) {
        SCOPED_TRACE(row.name);
        program = ProgramState{};
        write_control_text(Control::编辑框1, "");
        serve_reply(raffle_reply("FIRST"));
        press();
        const std::string first = plain_snippet("FIRST", "2016-07-31");
        ASSERT_EQ(view(program.page_html), first);

        stop_serving();
        if (!row.script.empty())
            serve(row.script);
        press();
        const bool appended = !row.appended.empty();
        EXPECT_EQ(view(program.page_html), first + row.appended);
        EXPECT_EQ(view(program.combined_page), first + row.appended);
        EXPECT_EQ(view(read_control_text(Control::编辑框1)), view(program.page_html));
        EXPECT_EQ(program.generated_count, appended ? 2 : 1);
        EXPECT_EQ(view(program.status_text), status_for(appended ? 2 : 1));
        EXPECT_EQ(view(read_control_text(Control::透明标签1)),
                  appended ? status_for(2) : std::string(gbk::fetch_failed));

        serve_reply(raffle_reply("AFTER"));
        press();
        EXPECT_EQ(program.generated_count, appended ? 3 : 2);
        EXPECT_EQ(view(read_control_text(Control::透明标签1)), status_for(appended ? 3 : 2));
        EXPECT_EQ(view(program.page_html), first + row.appended + plain_snippet("AFTER", "2016-07-31"));
    }
}

TEST_F(Behaviour, FailedPressKeepsWhatItReceived)
{
    serve_reply("{\"time\":\"2016-07-31\",\"x\":1}");
    press();
    EXPECT_EQ(view(program.response_text), "{\"time\":\"2016-07-31\",\"x\":1}");
    EXPECT_EQ(view(program.valid_until), "2016-07-31");
    EXPECT_TRUE(program.coupon_code.empty());
    EXPECT_TRUE(program.page_html.empty());
    EXPECT_EQ(view(read_control_text(Control::透明标签1)), std::string(gbk::fetch_failed));
}

TEST_F(Behaviour, HostileFieldsAreInsertedSafely)
{
    serve_reply("{\"time\":\"<script>x</script>\",\"activity\":\"a b+&\\\"<'\"}");
    press();
    EXPECT_EQ(view(program.page_html), expected_snippet("a%20b%2B%26%5C%22%3C%27", "&lt;script&gt;x&lt;/script&gt;",
                                                        "a b+&amp;\\&quot;&lt;&#39;"));
    EXPECT_EQ(view(program.coupon_code), "a b+&\\\"<'"); // the raw bytes are kept
}

TEST(Snippet, EscapesOnlyWhatMarkupWouldTake)
{
    struct Row {
        std::string code, in_address, shown;
    };
    const Row rows[] = {
        {"A1B2C3xyz-._~", "A1B2C3xyz-._~", "A1B2C3xyz-._~"},
        {"a b", "a%20b", "a b"},
        {"a+b", "a%2Bb", "a+b"},
        {"a&b", "a%26b", "a&amp;b"},
        {"a\"b", "a%22b", "a&quot;b"},
        {"<b>", "%3Cb%3E", "&lt;b&gt;"},
        {"it's", "it%27s", "it&#39;s"},
        {"\xD2\xFD\xBA\xC5", "%D2%FD%BA%C5", "\xD2\xFD\xBA\xC5"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(view(percent_encode(row.code)), row.in_address);
        EXPECT_EQ(view(escape_html(row.code)), row.shown);
        EXPECT_EQ(view(coupon_snippet(row.code, row.code)), expected_snippet(row.in_address, row.shown, row.shown));
    }
}

// A slow reply: the window's thread goes on (a timer on it keeps firing), the
// busy cursor and then the waiting text show, and the outcome is a fast press's.
TEST_F(Behaviour, SlowReplyLeavesTheWindowAlive)
{
    serve({ScriptServer::pause_for(2s), ScriptServer::reply(http_reply("200 OK", raffle_reply("SLOW")))});
    using clock = std::chrono::steady_clock;
    clock::duration longest_gap{};
    clock::time_point last_tick = clock::now();
    bool ticking = true;
    std::function<void()> tick = [&] {
        const clock::time_point now = clock::now();
        longest_gap = std::max(longest_gap, now - last_tick);
        last_tick = now;
        if (ticking)
            call_after(10ms, tick);
    };
    call_after(10ms, tick);
    driver::click(Control::按钮1);
    last_tick = clock::now();
    EXPECT_TRUE(driver::busy_cursor_shown());
    EXPECT_TRUE(driver::pump_until([] { return read_control_text(Control::透明标签1).view() == gbk::fetch_waiting; }, 1500ms));
    EXPECT_TRUE(press_in_flight());
    wait_for_presses();
    ticking = false;
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(longest_gap).count(), 100);
    EXPECT_FALSE(driver::busy_cursor_shown());
    EXPECT_EQ(view(program.page_html), plain_snippet("SLOW", "2016-07-31"));
    EXPECT_EQ(view(read_control_text(Control::编辑框1)), view(program.page_html));
    EXPECT_EQ(view(read_control_text(Control::透明标签1)), status_for(1));
}

TEST_F(Behaviour, FastReplyNeverShowsTheWaitingText)
{
    serve_reply(raffle_reply("FAST"));
    bool waiting_shown = false;
    driver::click(Control::按钮1);
    driver::pump_until([&] {
        waiting_shown = waiting_shown || read_control_text(Control::透明标签1).view() == gbk::fetch_waiting;
        return !press_in_flight();
    });
    driver::pump_until([] { return false; }, 400ms); // past the waiting text's delay
    EXPECT_FALSE(waiting_shown);
    EXPECT_EQ(view(read_control_text(Control::透明标签1)), status_for(1));
}

// Presses made while a fetch waits run afterwards, one at a time, in press order.
TEST_F(Behaviour, PressesDuringASlowFetchKeepTheirOrder)
{
    serve({ScriptServer::pause_for(1500ms), ScriptServer::reply(http_reply("200 OK", raffle_reply("C{N}"), false))});
    driver::click(Control::按钮1);
    driver::focus(Control::编辑框1);
    driver::key(Key::enter);
    driver::key(Key::keypad_enter);
    driver::focus(Control::按钮1);
    driver::key(Key::space);
    driver::click(Control::按钮2);
    EXPECT_TRUE(program.page_html.empty()); // nothing has run ahead of the first reply
    wait_for_presses();
    const std::string page = plain_snippet("C1", "2016-07-31") + plain_snippet("C2", "2016-07-31") +
                             plain_snippet("C3", "2016-07-31") + plain_snippet("C4", "2016-07-31");
    EXPECT_EQ(raffle->requests().size(), 4u);
    EXPECT_EQ(test_files::read(relocated::page_file()), page + std::string(gbk::export_notice));
    EXPECT_EQ(view(read_control_text(Control::透明标签1)), std::string(gbk::export_done));
    EXPECT_TRUE(program.page_html.empty());
}
