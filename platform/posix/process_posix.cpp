// The desktop opener and the process's end on POSIX systems.
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/platform.h"

extern char** environ;

namespace platform {

void shell_open(const std::string& path)
{
    // A short-lived shell starts the freedesktop opener in the background, so the
    // program waits for neither the opener nor the viewer and leaves no zombie.
    const char* argv[] = {"sh", "-c", "xdg-open \"$1\" >/dev/null 2>&1 &", "sh", path.c_str(), nullptr};
    pid_t shell = 0;
    if (::posix_spawn(&shell, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) == 0)
        ::waitpid(shell, nullptr, 0);
}

[[noreturn]] void exit_process(int status)
{
    std::fflush(nullptr);
    std::_Exit(status);
}

} // namespace platform
