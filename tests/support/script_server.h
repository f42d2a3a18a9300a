// A loopback HTTP peer for tests that answers every connection with exact bytes,
// so that replies a real server library would never send can be tried for real.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct ScriptStep {
    enum Kind { send, pause, reset, endless } kind = send;
    std::string bytes;
    std::chrono::milliseconds wait{0};
};

class ScriptServer {
public:
    // port 0: any free port. The script runs for every connection, then the
    // connection is closed (reset: closed with an RST instead). "{N}" in the bytes
    // sent is the connection's number, 1 for the first.
    explicit ScriptServer(std::vector<ScriptStep> script, std::uint16_t port = 0);
    ~ScriptServer();
    ScriptServer(const ScriptServer&) = delete;
    ScriptServer& operator=(const ScriptServer&) = delete;

    bool listening() const { return listen_fd_ >= 0; }
    std::uint16_t port() const { return port_; }
    std::string url(const std::string& path_and_query) const;
    // The request heads received so far, one per connection.
    std::vector<std::string> requests();

    static ScriptStep reply(std::string bytes) { return {ScriptStep::send, std::move(bytes), {}}; }
    static ScriptStep pause_for(std::chrono::milliseconds wait) { return {ScriptStep::pause, {}, wait}; }
    static ScriptStep reset_connection() { return {ScriptStep::reset, {}, {}}; }
    // Sends the bytes again and again until the peer goes away or the server stops.
    static ScriptStep repeat_forever(std::string bytes) { return {ScriptStep::endless, std::move(bytes), {}}; }

private:
    void serve();
    void answer(std::intptr_t fd);
    bool wait_unless_stopped(std::chrono::milliseconds wait);

    std::vector<ScriptStep> script_;
    std::intptr_t listen_fd_ = -1;
    std::atomic<bool> stopping_{false};
    std::uint16_t port_ = 0;
    std::mutex mutex_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

// A loopback port on which nothing listens (bound, then closed).
std::uint16_t unused_port();

// "HTTP/1.0 <status>\r\n<headers>\r\n<body>" with Content-Length unless told otherwise.
std::string http_reply(const std::string& status, const std::string& body, bool with_length = true,
                       const std::string& extra_headers = "");
