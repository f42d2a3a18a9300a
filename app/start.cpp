#include "app/start.h"

#include <cstdlib>
#include <new>

#include "app/press_queue.h"
#include "app/program_state.h"
#include "codegen/generate.h"
#include "export/export.h"
#include "export/run_directory.h"
#include "platform/platform.h"
#include "text/program_texts.h"

namespace {

bool shutdown_registered = false;

void shutdown_at_exit()
{
    run_shutdown_step();
}

void prepare_process()
{
    platform::prepare_process();
    platform::set_current_directory(std::string(program_directory().view()));
}

} // namespace

bool confirm_close()
{
    // A second close request while the question is open is dropped.
    static bool asking = false;
    if (asking)
        return false;
    if (program.page_html.empty())
        return true;
    asking = true;
    const bool yes = ask_yes_no(join_texts(gbk::close_question_prefix, int_to_text(program.generated_count),
                                           gbk::close_question_suffix));
    asking = false;
    return yes;
}

WindowEvents program_events()
{
    return WindowEvents{handle_main_window_created, on_generate_click, on_export_click, confirm_close};
}

bool run_shutdown_step()
{
    if (!shutdown_registered)
        return false;
    shutdown_registered = false;
    release_program_state();
    return true;
}

void register_shutdown_step()
{
    static const bool at_exit_set = std::atexit(shutdown_at_exit) == 0;
    (void)at_exit_set;
    shutdown_registered = true;
}

[[noreturn]] void fatal_stop()
{
    show_fatal_box("vqgen: out of memory or no window; the program stops.");
    run_shutdown_step();
    platform::exit_process(-1);
}

void install_memory_handler()
{
    std::set_new_handler([] { fatal_stop(); });
}

int start_program()
{
    install_memory_handler();
    prepare_process();
    register_shutdown_step();
    if (!load_main_window(program_events()))
        fatal_stop();
    run_message_loop();
    if (press_in_flight()) {
        // A fetch still waits on the network: end now instead of waiting for it.
        run_shutdown_step();
        platform::exit_process(0);
    }
    return 0;
}
