#include "text/extract.h"

#include "text/program_texts.h"
#include "text/search.h"

namespace {

Text spell_out_quotes(std::string_view marker)
{
    return replace_text(marker, gbk::quote_token, "\"", std::nullopt, std::nullopt, true);
}

// Positions are added in double precision and the low 32 bits kept, exactly as
// the integer sum for every position a text can have.
std::int32_t low_bits(double x)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(truncate_toward_zero(x)));
}

} // namespace

Text extract_between(std::string_view source, std::string_view start_marker,
                     std::string_view end_marker, std::int32_t start_position, bool ignore_case)
{
    const Text start = spell_out_quotes(start_marker);
    const Text end = spell_out_quotes(end_marker);
    std::int32_t a = search_text(source, start, start_position, ignore_case);
    if (a == -1)
        return empty_text;
    a = low_bits(double(a) + double(byte_length(start)));
    const std::int32_t b = search_text(source, end, a, ignore_case);
    if (b == -1)
        return empty_text;
    return mid_text(source, a, low_bits(double(b) - double(a)));
}
