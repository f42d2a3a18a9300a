// The tests' stand-in for the desktop's opener: each request is one line of
// <home>/opened.log (see support/relocate.h), instead of a viewer that opens.
#include <cstdlib>
#include <fstream>

#include "platform/platform.h"

namespace platform {

void shell_open(const std::string& path)
{
    const char* home = std::getenv("VQGEN_TEST_PROGRAM_HOME");
    if (home == nullptr)
        return;
    std::ofstream log((std::string(home) + "\\opened.log").c_str(), std::ios::binary | std::ios::app);
    log << path << "\n";
}

} // namespace platform
