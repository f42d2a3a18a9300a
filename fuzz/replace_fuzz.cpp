// replace_text: nothing changes before the start, count limits the replacements,
// and the length changes by whole replacements only.
#include "fuzz_input.h"
#include "text/search.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const std::string sub = as_text(input.field());
    const std::string replacement = as_text(input.field());
    const std::int32_t start = input.number() % 300;
    const std::int32_t count = input.number() % 5;
    const bool case_sensitive = input.flag();
    const std::string text = as_text(input.rest());

    const Text result = replace_text(text, sub, replacement, start, count, case_sensitive);
    const std::size_t offset = start > 1 ? static_cast<std::size_t>(start - 1) : 0;
    FUZZ_CHECK(result.view().find('\0') == std::string_view::npos);
    if (count == 0 || sub.empty() || offset >= text.size()) {
        FUZZ_CHECK(result.view() == text);
        return 0;
    }
    FUZZ_CHECK(result.view().substr(0, offset) == std::string_view(text).substr(0, offset));
    const std::int64_t change = static_cast<std::int64_t>(result.view().size()) - static_cast<std::int64_t>(text.size());
    const std::int64_t step = static_cast<std::int64_t>(replacement.size()) - static_cast<std::int64_t>(sub.size());
    if (step == 0) {
        FUZZ_CHECK(change == 0);
    } else {
        FUZZ_CHECK(change % step == 0);
        const std::int64_t replaced = change / step;
        FUZZ_CHECK(replaced >= 0);
        FUZZ_CHECK(count < 0 || replaced <= count);
    }
    if (search_text(text, sub, start, !case_sensitive) == -1)
        FUZZ_CHECK(result.view() == text);
    return 0;
}
