// The desktop opener and the process's end on POSIX systems.
#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/platform.h"

extern char** environ;

namespace platform {

void prepare_process()
{
    // The page is copied whole a few times per press and per export. Keep freed
    // blocks of up to 256 MiB in the heap for reuse, instead of returning them to
    // the system and faulting fresh pages in for every copy.
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
}

void shell_open(const std::string& path)
{
    // The freedesktop opener is started and not waited for; openers started by
    // earlier calls are reaped here once they have finished, so none lingers long.
    static std::vector<pid_t> openers;
    std::erase_if(openers, [](pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) != 0; });
    const char* argv[] = {"xdg-open", path.c_str(), nullptr};
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t opener = 0;
    if (::posix_spawnp(&opener, "xdg-open", &quiet, nullptr, const_cast<char**>(argv), environ) == 0)
        openers.push_back(opener);
    posix_spawn_file_actions_destroy(&quiet);
}

[[noreturn]] void exit_process(int status)
{
    std::fflush(nullptr);
    std::_Exit(status);
}

} // namespace platform
