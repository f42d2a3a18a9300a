#include "codegen/snippet.h"

#include <string>

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
