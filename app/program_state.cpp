#include "app/program_state.h"

#include "app/press_queue.h"

ProgramState program;

void handle_main_window_created()
{
    program.generated_count = to_integer(0);
    clear_presses();
}

void release_program_state()
{
    program.response_text = Text();
    program.valid_until = Text();
    program.coupon_code = Text();
    program.combined_page = Text();
    program.page_html = Text();
    program.status_text = Text();
}
