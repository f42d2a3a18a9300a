#include "script_server.h"

#if defined(_WIN32)
#include <winsock2.h>
#include <ws2tcpip.h>
using socket_t = SOCKET;
constexpr int send_flags = 0;
constexpr int shut_write = SD_SEND;
int close_socket(socket_t fd) { return closesocket(fd); }
int poll_sockets(pollfd* fds, unsigned long count, int timeout) { return WSAPoll(fds, count, timeout); }
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
using socket_t = int;
constexpr int send_flags = MSG_NOSIGNAL;
constexpr int shut_write = SHUT_WR;
int close_socket(socket_t fd) { return ::close(fd); }
int poll_sockets(pollfd* fds, nfds_t count, int timeout) { return ::poll(fds, count, timeout); }
#endif

#include <cstring>
#include <thread>

namespace {

using namespace std::chrono_literals;
constexpr std::intptr_t no_socket = -1;

void start_sockets()
{
#if defined(_WIN32)
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    (void)started;
#endif
}

std::intptr_t bind_loopback(std::uint16_t port, std::uint16_t& bound)
{
    start_sockets();
    const socket_t fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (static_cast<std::intptr_t>(fd) == no_socket)
        return no_socket;
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&one), sizeof one);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        close_socket(fd);
        return no_socket;
    }
    bound = ntohs(address.sin_port);
    return static_cast<std::intptr_t>(fd);
}

bool readable(socket_t fd, int milliseconds)
{
    pollfd p{};
    p.fd = fd;
    p.events = POLLIN;
    return poll_sockets(&p, 1, milliseconds) > 0;
}

std::string read_head(socket_t fd)
{
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
        if (!readable(fd, 5000))
            break;
        const int got = static_cast<int>(::recv(fd, buffer, sizeof buffer, 0));
        if (got <= 0)
            break;
        head.append(buffer, static_cast<size_t>(got));
    }
    return head;
}

bool send_all(socket_t fd, std::string_view rest)
{
    while (!rest.empty()) {
        const int sent = static_cast<int>(::send(fd, rest.data(), static_cast<int>(rest.size()), send_flags));
        if (sent <= 0)
            return false;
        rest.remove_prefix(static_cast<size_t>(sent));
    }
    return true;
}

// Each "{N}" in the bytes becomes the connection's number, 1 for the first.
std::string numbered(std::string bytes, const std::string& number)
{
    for (std::size_t at = bytes.find("{N}"); at != std::string::npos; at = bytes.find("{N}", at + number.size()))
        bytes.replace(at, 3, number);
    return bytes;
}

} // namespace

ScriptServer::ScriptServer(std::vector<ScriptStep> script, std::uint16_t port) : script_(std::move(script))
{
    listen_fd_ = bind_loopback(port, port_);
    if (listen_fd_ == no_socket)
        return;
    if (::listen(static_cast<socket_t>(listen_fd_), 16) != 0) {
        close_socket(static_cast<socket_t>(listen_fd_));
        listen_fd_ = no_socket;
        return;
    }
    thread_ = std::thread([this] { serve(); });
}

ScriptServer::~ScriptServer()
{
    if (listen_fd_ == no_socket)
        return;
    stopping_ = true;
    thread_.join();
    close_socket(static_cast<socket_t>(listen_fd_));
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

// Waits, in short steps so that the end of the test is noticed; false once stopping.
bool ScriptServer::wait_unless_stopped(std::chrono::milliseconds wait)
{
    const auto until = std::chrono::steady_clock::now() + wait;
    while (!stopping_ && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(20ms, until - std::chrono::steady_clock::now()));
    return !stopping_;
}

void ScriptServer::serve()
{
    const auto listener = static_cast<socket_t>(listen_fd_);
    while (!stopping_) {
        if (!readable(listener, 20))
            continue;
        const socket_t fd = ::accept(listener, nullptr, nullptr);
        if (static_cast<std::intptr_t>(fd) != no_socket)
            answer(static_cast<std::intptr_t>(fd));
    }
}

void ScriptServer::answer(std::intptr_t connection)
{
    const auto fd = static_cast<socket_t>(connection);
    const std::string head = read_head(fd);
    std::string number;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(head);
        number = std::to_string(requests_.size());
    }
    bool hard_close = false;
    for (const ScriptStep& step : script_) {
        if (step.kind == ScriptStep::pause) {
            if (!wait_unless_stopped(step.wait))
                break;
        } else if (step.kind == ScriptStep::reset) {
            const linger hard{1, 0};
            ::setsockopt(fd, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard), sizeof hard);
            hard_close = true;
            break;
        } else if (step.kind == ScriptStep::endless) {
            while (!stopping_ && send_all(fd, step.bytes)) {
            }
        } else if (!send_all(fd, numbered(step.bytes, number))) {
            break;
        }
    }
    if (!hard_close)
        ::shutdown(fd, shut_write);
    close_socket(fd);
}

std::uint16_t unused_port()
{
    std::uint16_t port = 0;
    const std::intptr_t fd = bind_loopback(0, port);
    if (fd != no_socket)
        close_socket(static_cast<socket_t>(fd));
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
