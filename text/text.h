// Text and Bytes: owned byte strings with value semantics.
// A Text holds GBK bytes and never a NUL inside; a Bytes value may hold any byte.
// Both stay shorter than 2^31 bytes; a longer value stops the program like exhausted memory.
#pragma once

#include <cstdint>
#include <array>
#include <span>
#include <string>
#include <string_view>

// Runs the installed new-handler (the program's fatal stop) and never returns.
[[noreturn]] void memory_exhausted();

class Bytes;

class Text {
public:
    Text() = default;
    // Keeps the bytes before the first NUL.
    explicit Text(std::string_view bytes);
    explicit Text(const char* bytes) : Text(std::string_view(bytes)) {}
    // Takes the string over without copying; cut at its first NUL.
    explicit Text(std::string&& bytes);

    std::string_view view() const noexcept { return bytes_; }
    const char* c_str() const noexcept { return bytes_.c_str(); }
    std::int32_t size() const noexcept { return static_cast<std::int32_t>(bytes_.size()); }
    bool empty() const noexcept { return bytes_.empty(); }
    operator std::string_view() const noexcept { return bytes_; }
    friend bool operator==(const Text&, const Text&) = default;

private:
    struct NoNul {};
    Text(std::string&& bytes, NoNul) : bytes_(std::move(bytes)) {}
    friend Text join_text_views(std::span<const std::string_view>);
    friend Bytes text_to_bytes(Text&& text);
    std::string bytes_;
};

class Bytes {
public:
    Bytes() = default;
    explicit Bytes(std::string_view data);
    explicit Bytes(const char* data) : Bytes(std::string_view(data)) {}
    explicit Bytes(std::string&& data);

    std::string_view view() const noexcept { return data_; }
    std::int32_t size() const noexcept { return static_cast<std::int32_t>(data_.size()); }
    bool empty() const noexcept { return data_.empty(); }
    friend bool operator==(const Bytes&, const Bytes&) = default;

private:
    std::string data_;
};

inline const Text empty_text{};
inline const Bytes empty_bytes{};

// Checks that a length stays below 2^31; a longer one is exhausted memory.
std::int32_t checked_length(std::uint64_t length);

std::int32_t byte_length(std::string_view text);

// The bytes of a part before its first NUL; a Text holds none, so it is not scanned.
inline std::string_view measured_part(const Text& text) { return text.view(); }
std::string_view measured_part(std::string_view bytes);

// Joins parts already measured; allocates once.
Text join_text_views(std::span<const std::string_view> parts);

// Joins Text values and GBK literals in order, each part measured once.
template <typename... Parts>
Text join_texts(const Parts&... parts)
{
    const std::array<std::string_view, sizeof...(Parts)> views{measured_part(parts)...};
    return join_text_views(views);
}

Text copy_text(const Text& text);
Text int_to_text(std::int32_t value);
Text bytes_to_text(const Bytes& bytes);
Bytes text_to_bytes(const Text& text);
// The same, taking the text's storage over instead of copying it.
Bytes text_to_bytes(Text&& text);
std::int32_t to_integer(std::int32_t value);
