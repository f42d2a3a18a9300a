// Splits a fuzzer's input into fields: a leading byte per field gives its length
// (the last field takes the rest).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), size) {}

    std::string field()
    {
        if (rest_.empty())
            return {};
        const std::size_t length = std::min<std::size_t>(static_cast<unsigned char>(rest_[0]), rest_.size() - 1);
        std::string out(rest_.substr(1, length));
        rest_.remove_prefix(1 + length);
        return out;
    }

    std::int32_t number()
    {
        std::int32_t value = 0;
        for (int i = 0; i < 4 && !rest_.empty(); ++i) {
            value = static_cast<std::int32_t>(static_cast<std::uint32_t>(value) << 8 | static_cast<unsigned char>(rest_[0]));
            rest_.remove_prefix(1);
        }
        return value;
    }

    bool flag()
    {
        if (rest_.empty())
            return false;
        const bool value = rest_[0] & 1;
        rest_.remove_prefix(1);
        return value;
    }

    std::string rest() { return std::string(rest_); }

private:
    std::string_view rest_;
};

// Texts hold no NUL: what the program hands these routines always ends at the first one.
inline std::string as_text(std::string bytes)
{
    return bytes.substr(0, bytes.find('\0'));
}

#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            __builtin_printf("property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)
