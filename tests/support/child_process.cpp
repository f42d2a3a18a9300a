#include "child_process.h"

#include <cstring>
#include <thread>

#if defined(_WIN32)
#include <windows.h>
#else
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {
constexpr const char* flag = "--child=";
}

std::string child_scenario(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], flag, std::strlen(flag)) == 0)
            return argv[i] + std::strlen(flag);
    return {};
}

long long wall_clock_ms()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

#if defined(_WIN32)

ChildOutcome run_child(const std::string& scenario, std::chrono::milliseconds limit)
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string command = "\"" + std::string(self) + "\" " + flag + scenario;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(self, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return {};
    CloseHandle(process.hThread);
    ChildOutcome outcome;
    if (WaitForSingleObject(process.hProcess, static_cast<DWORD>(limit.count())) == WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        outcome = {true, static_cast<int>(code)};
    } else {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hProcess);
    return outcome;
}

#else

ChildOutcome run_child(const std::string& scenario, std::chrono::milliseconds limit)
{
    const std::string argument = flag + scenario;
    const pid_t child = ::fork();
    if (child == 0) {
        char* argv[] = {const_cast<char*>("child"), const_cast<char*>(argument.c_str()), nullptr};
        ::execv("/proc/self/exe", argv);
        ::_exit(127);
    }
    const auto until = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > until) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return {};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return {true, WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status)};
}

#endif
