#include "text/search.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

namespace {

unsigned char fold(unsigned char byte)
{
    return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte + 0x20) : byte;
}

bool matches_at(const unsigned char* at, std::string_view marker, bool ignore_case)
{
    if (!ignore_case)
        return std::memcmp(at, marker.data(), marker.size()) == 0;
    for (std::size_t i = 0; i < marker.size(); ++i)
        if (fold(at[i]) != fold(static_cast<unsigned char>(marker[i])))
            return false;
    return true;
}

std::size_t start_offset(std::int32_t start_position)
{
    const std::int64_t offset = std::int64_t{start_position} - 1;
    return offset < 0 ? 0 : static_cast<std::size_t>(offset);
}

// Size of the character at p: 1, 2, or 0 when a lead byte is the last byte.
std::size_t char_size(const unsigned char* bytes, std::size_t p, std::size_t length)
{
    if (bytes[p] < 0x80)
        return 1;
    return p + 1 < length ? 2 : 0;
}

constexpr std::uint64_t ones = 0x0101010101010101u;
constexpr std::uint64_t highs = 0x8080808080808080u;

// Bytes of the word equal to the pattern's byte, flagged in their high bits; the
// lowest flag is exact, which is all the caller uses.
std::uint64_t equal_bytes(std::uint64_t word, std::uint64_t pattern)
{
    const std::uint64_t x = word ^ pattern;
    return (x - ones) & ~x & highs;
}

// The first position from p that could change the walk: a byte of 0x80 or above
// (a two-byte character) or a byte equal to first or other. Every byte before it
// is a one-byte character where no match can begin, so the walk may jump there.
// Eight bytes at a time.
std::size_t next_candidate(const unsigned char* bytes, std::size_t p, std::size_t end,
                           unsigned char first, unsigned char other)
{
    if constexpr (std::endian::native == std::endian::little) {
        const std::uint64_t first_pattern = ones * first;
        const std::uint64_t other_pattern = ones * other;
        for (; p + 8 <= end; p += 8) {
            std::uint64_t word;
            std::memcpy(&word, bytes + p, sizeof word);
            const std::uint64_t flags =
                (word & highs) | equal_bytes(word, first_pattern) | equal_bytes(word, other_pattern);
            if (flags != 0)
                return p + static_cast<std::size_t>(std::countr_zero(flags) / 8);
        }
    }
    while (p < end && bytes[p] < 0x80 && bytes[p] != first && bytes[p] != other)
        ++p;
    return p;
}

unsigned char other_case(unsigned char byte)
{
    if (byte >= 'a' && byte <= 'z')
        return static_cast<unsigned char>(byte - 0x20);
    if (byte >= 'A' && byte <= 'Z')
        return static_cast<unsigned char>(byte + 0x20);
    return byte;
}

// Walks from offset by characters; the position of the first match, or npos.
std::size_t find_from(std::string_view text, std::string_view marker, std::size_t offset,
                      bool ignore_case)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t length = text.size();
    const std::size_t m = marker.size();
    const auto first = static_cast<unsigned char>(marker[0]);
    const unsigned char other = ignore_case ? other_case(first) : first;
    std::size_t p = offset;
    while (length - p >= m) {
        p = next_candidate(bytes, p, length - m + 1, first, other);
        if (length - p < m)
            break;
        if (matches_at(bytes + p, marker, ignore_case))
            return p;
        const std::size_t step = char_size(bytes, p, length);
        if (step == 0)
            break;
        p += step;
    }
    return std::string_view::npos;
}

} // namespace

std::int32_t search_text(std::string_view text, std::string_view marker,
                         std::int32_t start_position, bool ignore_case)
{
    const std::size_t offset = start_offset(start_position);
    if (offset >= text.size())
        return -1;
    if (marker.empty())
        return 1;
    const std::size_t found = find_from(text, marker, offset, ignore_case);
    return found == std::string_view::npos ? -1 : static_cast<std::int32_t>(found + 1);
}

Text mid_text(std::string_view text, std::int32_t start, std::int32_t length)
{
    if (start < 1 || static_cast<std::size_t>(start) > text.size() || length <= 0)
        return Text();
    return Text(text.substr(static_cast<std::size_t>(start) - 1, static_cast<std::size_t>(length)));
}

Text replace_text(std::string_view text, std::string_view sub_text, std::string_view replacement,
                  std::optional<std::int32_t> start_position, std::optional<std::int32_t> count,
                  bool case_sensitive)
{
    const std::size_t offset = start_position ? start_offset(*start_position) : 0;
    std::int32_t remaining = count.value_or(-1);
    if (text.empty() || sub_text.empty() || offset >= text.size() || remaining == 0)
        return Text(text);

    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t length = text.size();
    const std::size_t m = sub_text.size();
    std::string result(text.substr(0, offset));
    std::size_t p = offset;
    while (length - p >= m) {
        if (matches_at(bytes + p, sub_text, !case_sensitive)) {
            result.append(replacement);
            p += m;
            if (remaining > 0 && --remaining == 0)
                break;
            continue;
        }
        const std::size_t step = char_size(bytes, p, length);
        if (step == 0)
            break;
        result.append(text.substr(p, step));
        p += step;
    }
    result.append(text.substr(p));
    return Text(std::move(result));
}

std::int64_t truncate_toward_zero(double x)
{
    // The cast truncates without touching the rounding mode; out-of-range values are clamped.
    constexpr double limit = 9223372036854775808.0; // 2^63
    if (std::isnan(x))
        return 0;
    if (x >= limit)
        return std::numeric_limits<std::int64_t>::max();
    if (x <= -limit)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(x);
}
