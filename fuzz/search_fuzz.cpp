// search_text reports only positions where a character begins, counting from the
// start offset, and never misses one: checked against the plainest walk.
#include "fuzz_input.h"
#include "text/search.h"

namespace {

char folded(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 0x20) : c;
}

std::int32_t plain_walk(const std::string& text, const std::string& marker, std::int32_t start, bool ignore_case)
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
            same = ignore_case ? folded(text[p + i]) == folded(marker[i]) : text[p + i] == marker[i];
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const std::string marker = as_text(input.field());
    const std::int32_t start = input.number() % 300;
    const bool ignore_case = input.flag();
    const std::string text = as_text(input.rest());
    const std::int32_t found = search_text(text, marker, start, ignore_case);
    FUZZ_CHECK(found == plain_walk(text, marker, start, ignore_case));
    FUZZ_CHECK(found == -1 || (found >= 1 && static_cast<std::size_t>(found) <= text.size()));
    return 0;
}
