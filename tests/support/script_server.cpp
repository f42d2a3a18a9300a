#include "script_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

namespace {

int bind_loopback(std::uint16_t port, std::uint16_t& bound)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(fd);
        return -1;
    }
    bound = ntohs(address.sin_port);
    return fd;
}

std::string read_head(int fd)
{
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0)
            break;
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0)
            break;
        head.append(buffer, static_cast<size_t>(got));
    }
    return head;
}

bool send_all(int fd, std::string_view rest)
{
    while (!rest.empty()) {
        const ssize_t sent = ::send(fd, rest.data(), rest.size(), MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        rest.remove_prefix(static_cast<size_t>(sent));
    }
    return true;
}

} // namespace

ScriptServer::ScriptServer(std::vector<ScriptStep> script, std::uint16_t port) : script_(std::move(script))
{
    listen_fd_ = bind_loopback(port, port_);
    if (listen_fd_ < 0 || ::listen(listen_fd_, 16) != 0 || ::pipe(stop_pipe_) != 0) {
        if (listen_fd_ >= 0)
            ::close(listen_fd_);
        listen_fd_ = -1;
        return;
    }
    thread_ = std::thread([this] { serve(); });
}

ScriptServer::~ScriptServer()
{
    if (listen_fd_ < 0)
        return;
    (void)!::write(stop_pipe_[1], "x", 1);
    thread_.join();
    ::close(listen_fd_);
    ::close(stop_pipe_[0]);
    ::close(stop_pipe_[1]);
}

std::string ScriptServer::url(const std::string& path_and_query) const
{
    return "http://127.0.0.1:" + std::to_string(port_) + path_and_query;
}

std::vector<std::string> ScriptServer::requests()
{
    std::lock_guard lock(mutex_);
    return requests_;
}

void ScriptServer::serve()
{
    for (;;) {
        pollfd fds[2] = {{listen_fd_, POLLIN, 0}, {stop_pipe_[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 || (fds[1].revents & POLLIN))
            return;
        const int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0)
            answer(fd);
    }
}

void ScriptServer::answer(int fd)
{
    const std::string head = read_head(fd);
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(head);
    }
    bool hard_close = false;
    for (const ScriptStep& step : script_) {
        if (step.kind == ScriptStep::pause) {
            // Wait, but give up early when the test ends.
            pollfd p{stop_pipe_[0], POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(step.wait.count())) > 0)
                break;
        } else if (step.kind == ScriptStep::reset) {
            const linger hard{1, 0};
            ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
            hard_close = true;
            break;
        } else if (step.kind == ScriptStep::endless) {
            while (send_all(fd, step.bytes)) {
                pollfd p{stop_pipe_[0], POLLIN, 0};
                if (::poll(&p, 1, 0) > 0)
                    break;
            }
        } else if (!send_all(fd, step.bytes)) {
            break;
        }
    }
    if (!hard_close)
        ::shutdown(fd, SHUT_WR);
    ::close(fd);
}

std::uint16_t unused_port()
{
    std::uint16_t port = 0;
    const int fd = bind_loopback(0, port);
    if (fd >= 0)
        ::close(fd);
    return port;
}

std::string http_reply(const std::string& status, const std::string& body, bool with_length,
                       const std::string& extra_headers)
{
    std::string reply = "HTTP/1.0 " + status + "\r\n" + extra_headers;
    if (with_length)
        reply += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    return reply + "\r\n" + body;
}
