// The snippet carries no markup from the fields: the code and date add no quote,
// angle bracket or apostrophe, and the image address only unreserved bytes and escapes.
#include <algorithm>
#include <cctype>

#include "codegen/snippet.h"
#include "fuzz_input.h"

namespace {

long count_of(std::string_view text, char c)
{
    return std::count(text.begin(), text.end(), c);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const std::string code = as_text(input.field());
    const std::string date = as_text(input.rest());
    const Text plain = coupon_snippet("", "");
    const Text snippet = coupon_snippet(code, date);
    for (char c : {'<', '>', '"', '\''})
        FUZZ_CHECK(count_of(snippet.view(), c) == count_of(plain.view(), c));
    const Text address = percent_encode(code);
    for (char c : address.view())
        FUZZ_CHECK(std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == '_' || c == '~' || c == '%');
    const Text shown = escape_html(code);
    FUZZ_CHECK(shown.view().find_first_of("<>\"'") == std::string_view::npos);
    return 0;
}
