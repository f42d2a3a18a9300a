// The read piece is between 1 and 102,400 bytes whatever the header says.
#include "codegen/fetch.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string header(reinterpret_cast<const char*>(data), size);
    const std::size_t piece = read_piece_size(header);
    FUZZ_CHECK(piece >= 1 && piece <= 102400);
    if (header.empty() || header.find_first_not_of("0123456789") != std::string::npos)
        FUZZ_CHECK(piece == 10240);
    return 0;
}
