#include "services_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

extern char** environ;

namespace {

std::string read_all(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

ServicesProcess::ServicesProcess(const std::string& executable, std::uint16_t port)
{
    // Its one line per request goes to a file, so that nothing it writes can block or kill it.
    char log_path[] = "/tmp/vqgen-services-log-XXXXXX";
    const int log = ::mkstemp(log_path);
    if (log < 0)
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, log, STDOUT_FILENO);
    const std::string port_text = std::to_string(port);
    const char* argv[] = {executable.c_str(), "--port", port_text.c_str(), nullptr};
    const int spawned = ::posix_spawn(&pid_, executable.c_str(), &actions, nullptr,
                                      const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(log);
    if (spawned != 0) {
        pid_ = -1;
        ::unlink(log_path);
        return;
    }
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!ready_ && std::chrono::steady_clock::now() < give_up) {
        if (::waitpid(pid_, nullptr, WNOHANG) == pid_) { // it gave up, e.g. on a busy port
            pid_ = -1;
            break;
        }
        ready_ = read_all(log_path).starts_with("listening on");
        if (!ready_)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::unlink(log_path);
}

ServicesProcess::~ServicesProcess()
{
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
}
