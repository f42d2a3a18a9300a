#include "codegen/fetch.h"

#include <optional>

#include "codegen/url.h"
#include "text/program_texts.h"

namespace {
constexpr std::size_t default_piece = 10240;
constexpr std::size_t max_piece = 102400;
constexpr std::uint64_t max_content_length = 0x7FFFFFFF;
} // namespace

std::size_t read_piece_size(std::string_view content_length)
{
    if (content_length.empty())
        return default_piece;
    std::uint64_t length = 0;
    for (char c : content_length) {
        if (c < '0' || c > '9')
            return default_piece;
        length = length * 10 + static_cast<std::uint64_t>(c - '0');
        if (length > max_content_length)
            return default_piece;
    }
    if (length == 0)
        return default_piece;
    return length + 1 < max_piece ? static_cast<std::size_t>(length + 1) : max_piece;
}

Bytes http_get_bytes(std::string_view address, const platform::HttpLimits& limits)
{
    if (address.empty())
        return Bytes();
    const std::optional<platform::HttpTarget> target = split_url(address);
    if (!target)
        return Bytes();
    return Bytes(platform::http_get(*target, gbk::user_agent, limits, read_piece_size));
}

Text raffle_url()
{
    return join_texts(std::string_view("http://"), std::string_view(VQGEN_RAFFLE_ENDPOINT),
                      gbk::raffle_path);
}

// 30 s to connect, 30 s without a byte, 60 s in all, unless the build says otherwise.
platform::HttpLimits raffle_limits()
{
    constexpr long seconds[] = {VQGEN_FETCH_LIMITS};
    platform::HttpLimits limits;
    limits.connect_seconds = seconds[0];
    limits.stall_seconds = seconds[1];
    limits.total_seconds = seconds[2];
    return limits;
}

Text fetch_raffle_reply()
{
    return bytes_to_text(http_get_bytes(raffle_url(), raffle_limits()));
}
