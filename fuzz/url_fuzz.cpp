// split_url: what it accepts is a request it can send as it is.
#include "codegen/url.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string url(reinterpret_cast<const char*>(data), size);
    const auto target = split_url(url);
    if (!target)
        return 0;
    FUZZ_CHECK(target->port >= 1 && target->port <= 65535);
    FUZZ_CHECK(!target->host.empty());
    for (char c : target->host)
        FUZZ_CHECK(static_cast<unsigned char>(c) > ' ' && c != '/' && c != '#' && c != '@');
    FUZZ_CHECK(!target->path_and_query.empty() && target->path_and_query[0] == '/');
    FUZZ_CHECK(target->path_and_query.find('#') == std::string::npos);
    FUZZ_CHECK(url.find(target->host) != std::string::npos);
    return 0;
}
