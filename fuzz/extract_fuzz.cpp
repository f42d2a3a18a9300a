// extract_between: the result lies inside the source, right after the first start
// marker at or after the start position, and ends where the end marker begins.
#include "fuzz_input.h"
#include "text/extract.h"
#include "text/program_texts.h"
#include "text/search.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const std::string start_marker = as_text(input.field());
    const std::string end_marker = as_text(input.field());
    const std::int32_t start = input.number() % 300;
    const bool ignore_case = input.flag();
    const std::string source = as_text(input.rest());

    const Text result = extract_between(source, start_marker, end_marker, start, ignore_case);
    FUZZ_CHECK(result.view().size() <= source.size());
    const Text s = replace_text(start_marker, gbk::quote_token, "\"", std::nullopt, std::nullopt, true);
    const Text e = replace_text(end_marker, gbk::quote_token, "\"", std::nullopt, std::nullopt, true);
    const std::int32_t a = search_text(source, s, start, ignore_case);
    if (a == -1) {
        FUZZ_CHECK(result.empty());
        return 0;
    }
    const std::size_t value_at = static_cast<std::size_t>(a) - 1 + s.view().size();
    FUZZ_CHECK(value_at <= source.size());
    FUZZ_CHECK(source.compare(value_at, result.view().size(), result.view()) == 0);
    const std::int32_t b = search_text(source, e, static_cast<std::int32_t>(value_at + 1), ignore_case);
    if (b != -1 && static_cast<std::size_t>(b) > value_at)
        FUZZ_CHECK(result.view().size() == static_cast<std::size_t>(b) - 1 - value_at);
    else
        FUZZ_CHECK(result.empty());
    return 0;
}
