// The child processes of the lifecycle tests: each runs the whole program, as its
// main would, and acts on the window from timers once the loop runs. The exit
// status is the program's own, or a number above 90 naming what went wrong.
#include <cstdlib>
#include <new>
#include <optional>

#include "app/program_state.h"
#include "app/start.h"
#include "behaviour/behaviour.h"
#include "behaviour/scenarios.h"
#include "support/child_process.h"
#include "support/relocate.h"
#include "support/test_files.h"
#include "text/program_texts.h"

using namespace std::chrono_literals;

namespace {

std::optional<ScriptServer> peer;

void note_close_time()
{
    test_files::write(test_files::join(relocated::home(), "closed_at"), std::to_string(wall_clock_ms()));
}

void serve_silently()
{
    peer.reset();
    peer.emplace(std::vector{ScriptServer::pause_for(60s)}, behaviour_port);
}

int escape_at_start()
{
    program.generated_count = 7; // the created event sets it back to 0
    driver::call_later(300ms, [] {
        if (!driver::window_open())
            std::_Exit(91);
        if (program.generated_count != 0)
            std::_Exit(92);
        driver::key(Key::escape);
    });
    const int status = start_program();
    if (driver::window_open())
        return 93;
    const bool first = run_shutdown_step();
    const bool second = run_shutdown_step();
    return status != 0 ? 94 : !first ? 95 : second ? 96 : 0;
}

int exhaust_memory()
{
    driver::dismiss_fatal_box_later();
    driver::call_later(300ms, [] {
        volatile std::size_t huge = std::size_t{1} << 62;
        void* never = ::operator new(huge);
        static_cast<volatile char*>(never)[0] = 1;
        std::_Exit(97);
    });
    start_program();
    return 98;
}

int escape_during_silent_fetch()
{
    serve_silently();
    driver::call_later(300ms, [] { driver::click(Control::按钮1); });
    driver::call_later(900ms, [] {
        note_close_time();
        driver::key(Key::escape);
    });
    start_program();
    return 99;
}

int yes_during_silent_fetch()
{
    peer.emplace(std::vector{ScriptServer::reply(http_reply("200 OK", raffle_reply("KEPT")))}, behaviour_port);
    driver::call_later(300ms, [] { driver::click(Control::按钮1); });
    driver::call_later(2500ms, [] {
        if (program.page_html.empty())
            std::_Exit(100);
        serve_silently();
        driver::click(Control::按钮1);
    });
    driver::call_later(3100ms, [] {
        driver::call_later(300ms, [] {
            note_close_time();
            driver::key(Key::letter_y);
        });
        driver::key(Key::escape);
    });
    start_program();
    return 101;
}

// One export of the empty page, then Esc: where 1.html lands is the caller's check.
int export_then_close()
{
    driver::call_later(300ms, [] { driver::click(Control::按钮2); });
    driver::call_later(700ms, [] {
        if (read_control_text(Control::透明标签1).view() != gbk::export_done)
            std::_Exit(102);
        driver::key(Key::escape);
    });
    return start_program();
}

} // namespace

int run_scenario(const std::string& name)
{
    driver::start_toolkit();
    install_memory_handler();
    if (name == "escape_at_start")
        return escape_at_start();
    if (name == "exhaust_memory")
        return exhaust_memory();
    if (name == "escape_during_silent_fetch")
        return escape_during_silent_fetch();
    if (name == "yes_during_silent_fetch")
        return yes_during_silent_fetch();
    if (name == "export_then_close")
        return export_then_close();
    return 120;
}
