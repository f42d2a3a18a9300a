// The desktop's opener on Windows; a file of its own, so that tests can put a
// recording stand-in in its place.
#include <windows.h>
#include <shellapi.h>

#include "platform/platform.h"

namespace platform {

void shell_open(const std::string& path)
{
    ShellExecuteA(nullptr, "open", path.c_str(), nullptr, "", SW_SHOWNORMAL);
}

} // namespace platform
