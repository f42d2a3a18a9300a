#include "codegen/generate.h"

#include <chrono>
#include <cstdint>

#include "app/main_window.h"
#include "app/press_queue.h"
#include "app/program_state.h"
#include "codegen/fetch.h"
#include "codegen/snippet.h"
#include "text/extract.h"
#include "text/program_texts.h"

namespace {

// A fast reply shows its outcome without the waiting text flickering in between.
constexpr std::chrono::milliseconds waiting_text_delay{300};

// Which fetch is in flight (0: none), so that a late timer leaves the label alone.
std::uint64_t fetch_serial = 0;
std::uint64_t fetch_in_flight = 0;

Text status_message(std::int32_t count)
{
    return join_texts(gbk::status_prefix, int_to_text(count), gbk::status_suffix);
}

void append_snippet()
{
    const Text snippet = coupon_snippet(program.coupon_code, program.valid_until);
    const Text appended = copy_text(snippet);
    program.combined_page = join_texts(program.page_html, appended);
    program.page_html = copy_text(program.combined_page);
    write_control_text(Control::编辑框1, program.page_html);
    program.status_text = status_message(program.generated_count);
    write_control_text(Control::透明标签1, program.status_text);
}

} // namespace

void on_generate_click()
{
    queue_press(Press::generate);
}

void generate_one_code()
{
    const std::uint64_t fetch = ++fetch_serial;
    fetch_in_flight = fetch;
    show_busy_cursor(true);
    call_after(waiting_text_delay, [fetch] {
        if (fetch_in_flight == fetch)
            write_control_text(Control::透明标签1, gbk::fetch_waiting);
    });
    run_off_window_thread(fetch_raffle_reply, finish_generation);
}

void finish_generation(Text reply)
{
    fetch_in_flight = 0;
    show_busy_cursor(false);
    program.response_text = std::move(reply);
    program.valid_until = extract_between(program.response_text, gbk::date_start_marker,
                                          gbk::date_end_marker, 0, false);
    program.coupon_code = extract_between(program.response_text, gbk::code_start_marker,
                                          gbk::code_end_marker, 0, false);
    if (program.coupon_code.empty()) {
        write_control_text(Control::透明标签1, gbk::fetch_failed);
    } else {
        ++program.generated_count;
        append_snippet();
    }
    finish_press();
}
