#include "codegen/snippet.h"

#include <string>

#include "app/main_window.h"
#include "app/program_state.h"
#include "codegen/fetch.h"
#include "text/extract.h"
#include "text/program_texts.h"

namespace {

bool is_unreserved(unsigned char byte)
{
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' || byte == '~';
}

std::string_view html_entity(char c)
{
    switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '"': return "&quot;";
    case '\'': return "&#39;";
    default: return {};
    }
}

Text status_message(std::int32_t count)
{
    return join_texts(gbk::status_prefix, int_to_text(count), gbk::status_suffix);
}

} // namespace

Text percent_encode(std::string_view bytes)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(bytes.size());
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (is_unreserved(byte)) {
            encoded.push_back(c);
        } else {
            encoded.push_back('%');
            encoded.push_back(hex[byte >> 4]);
            encoded.push_back(hex[byte & 0x0F]);
        }
    }
    return Text(std::move(encoded));
}

Text escape_html(std::string_view bytes)
{
    std::string escaped;
    escaped.reserve(bytes.size());
    for (char c : bytes) {
        const std::string_view entity = html_entity(c);
        if (entity.empty())
            escaped.push_back(c);
        else
            escaped.append(entity);
    }
    return Text(std::move(escaped));
}

Text coupon_snippet(std::string_view code, std::string_view date)
{
    const Text image_open = join_texts(gbk::snippet_image_open, std::string_view("http://"),
                                       std::string_view(VQGEN_QR_ENDPOINT), gbk::qr_path);
    const Text shown_code = escape_html(code);
    return join_texts(image_open, percent_encode(code), gbk::snippet_after_code, escape_html(date),
                      gbk::snippet_after_date, shown_code, gbk::snippet_close);
}

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
