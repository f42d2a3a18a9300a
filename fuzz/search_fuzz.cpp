// search_text reports only positions where a character begins, counting from the
// start offset, and never misses one: checked against the plainest walk.
#include "fuzz_input.h"
#include "support/plain_walk.h"
#include "text/search.h"


extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const std::string marker = as_text(input.field());
    const std::int32_t start = input.number() % 300;
    const bool ignore_case = input.flag();
    const std::string text = as_text(input.rest());
    const std::int32_t found = search_text(text, marker, start, ignore_case);
    FUZZ_CHECK(found == plain_walk_search(text, marker, start, ignore_case));
    FUZZ_CHECK(found == -1 || (found >= 1 && static_cast<std::size_t>(found) <= text.size()));
    return 0;
}
