// search_text written as plainly as possible, to check the real one against: try
// every character start from the offset, one comparison each.
#pragma once

#include <cstdint>
#include <string>

inline char plain_fold(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 0x20) : c;
}

inline std::int32_t plain_walk_search(const std::string& text, const std::string& marker, std::int32_t start,
                                      bool ignore_case)
{
    const std::int64_t offset = std::int64_t{start} - 1;
    std::size_t p = offset < 0 ? 0 : static_cast<std::size_t>(offset);
    if (p >= text.size())
        return -1;
    if (marker.empty())
        return 1;
    while (p + marker.size() <= text.size()) {
        bool same = true;
        for (std::size_t i = 0; i < marker.size() && same; ++i)
            same = ignore_case ? plain_fold(text[p + i]) == plain_fold(marker[i]) : text[p + i] == marker[i];
        if (same)
            return static_cast<std::int32_t>(p + 1);
        if (static_cast<unsigned char>(text[p]) < 0x80)
            ++p;
        else if (p + 1 < text.size())
            p += 2;
        else
            break;
    }
    return -1;
}
