#include "text/text.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {
constexpr std::uint64_t max_length = (std::uint64_t{1} << 31) - 1;

std::string_view before_nul(std::string_view bytes)
{
    const void* nul = std::memchr(bytes.data(), '\0', bytes.size());
    if (nul == nullptr)
        return bytes;
    return bytes.substr(0, static_cast<const char*>(nul) - bytes.data());
}
}

[[noreturn]] void memory_exhausted()
{
    if (std::new_handler handler = std::get_new_handler())
        handler();
    std::abort();
}

std::int32_t checked_length(std::uint64_t length)
{
    if (length > max_length)
        memory_exhausted();
    return static_cast<std::int32_t>(length);
}

Text::Text(std::string_view bytes) : bytes_(before_nul(bytes))
{
    checked_length(bytes_.size());
}

Text::Text(std::string&& bytes) : bytes_(std::move(bytes))
{
    bytes_.resize(before_nul(bytes_).size());
    checked_length(bytes_.size());
}

Bytes::Bytes(std::string_view data) : data_(data.substr(0, checked_length(data.size()))) {}

Bytes::Bytes(std::string&& data) : data_(std::move(data))
{
    checked_length(data_.size());
}

std::int32_t byte_length(std::string_view text)
{
    return checked_length(before_nul(text).size());
}

std::string_view measured_part(std::string_view bytes)
{
    return before_nul(bytes);
}

Text join_text_views(std::span<const std::string_view> parts)
{
    std::uint64_t total = 0;
    for (std::string_view part : parts)
        total += part.size();
    std::string joined;
    joined.reserve(checked_length(total));
    for (std::string_view part : parts)
        joined.append(part);
    return Text(std::move(joined), Text::NoNul{});
}

Text copy_text(const Text& text)
{
    return text;
}

Text int_to_text(std::int32_t value)
{
    return Text(std::to_string(value));
}

Text bytes_to_text(const Bytes& bytes)
{
    return Text(before_nul(bytes.view()));
}

Bytes text_to_bytes(const Text& text)
{
    return Bytes(text.view());
}

Bytes text_to_bytes(Text&& text)
{
    return Bytes(std::move(text.bytes_));
}

std::int32_t to_integer(std::int32_t value)
{
    return value;
}
