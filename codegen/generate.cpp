#include "codegen/generate.h"

#include "app/main_window.h"
#include "app/program_state.h"
#include "codegen/fetch.h"
#include "codegen/snippet.h"
#include "text/extract.h"
#include "text/program_texts.h"

namespace {

Text status_message(std::int32_t count)
{
    return join_texts(gbk::status_prefix, int_to_text(count), gbk::status_suffix);
}

} // namespace

void on_generate_click()
{
    ++program.generated_count;
    generate_one_code();
}

void generate_one_code()
{
    program.response_text = fetch_raffle_reply();
    program.valid_until = extract_between(program.response_text, gbk::date_start_marker,
                                          gbk::date_end_marker, 0, false);
    program.coupon_code = extract_between(program.response_text, gbk::code_start_marker,
                                          gbk::code_end_marker, 0, false);
    const Text snippet = coupon_snippet(program.coupon_code, program.valid_until);
    const Text appended = copy_text(snippet);
    program.combined_page = join_texts(program.page_html, appended);
    program.page_html = copy_text(program.combined_page);
    write_control_text(Control::编辑框1, program.page_html);
    program.status_text = status_message(program.generated_count);
    write_control_text(Control::透明标签1, program.status_text);
}
