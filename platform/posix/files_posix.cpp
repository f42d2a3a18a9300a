// Files and paths on POSIX systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace {

bool write_all(int fd, std::string_view block)
{
    while (!block.empty()) {
        const ssize_t written = ::write(fd, block.data(), block.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        block.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// The new file gets the mode a plainly created file would get.
void set_default_mode(int fd)
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
}

bool write_and_flush(int fd, std::span<const std::string_view> blocks)
{
    for (std::string_view block : blocks)
        if (!write_all(fd, block))
            return false;
    return ::fsync(fd) == 0;
}

} // namespace

namespace platform {

std::string executable_path()
{
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            return {};
        if (static_cast<size_t>(length) < buffer.size())
            return std::string(buffer.data(), static_cast<size_t>(length));
        buffer.resize(buffer.size() * 2);
    }
}

PathConvention path_convention()
{
    return {'/', false};
}

bool set_current_directory(const std::string& path)
{
    return !path.empty() && ::chdir(path.c_str()) == 0;
}

bool directory_writable(const std::string& path)
{
    return !path.empty() && ::access(path.c_str(), W_OK | X_OK) == 0;
}

std::string desktop_documents_directory()
{
    struct PipeCloser {
        void operator()(FILE* pipe) const { ::pclose(pipe); }
    };
    std::unique_ptr<FILE, PipeCloser> pipe(::popen("xdg-user-dir DOCUMENTS 2>/dev/null", "r"));
    if (!pipe)
        return {};
    std::string answer;
    char buffer[512];
    while (const size_t got = std::fread(buffer, 1, sizeof buffer, pipe.get()))
        answer.append(buffer, got);
    while (!answer.empty() && (answer.back() == '\n' || answer.back() == '\r'))
        answer.pop_back();
    return answer.starts_with('/') ? answer : std::string();
}

std::string home_directory()
{
    const char* home = std::getenv("HOME");
    return home != nullptr ? home : "";
}

bool make_directories(const std::string& path)
{
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return std::filesystem::is_directory(path, error);
}

bool replace_file(const std::string& path, std::span<const std::string_view> blocks)
{
    if (path.empty())
        return false;
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    set_default_mode(fd);
    const bool written = write_and_flush(fd, blocks);
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace platform
