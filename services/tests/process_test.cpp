#include "qr_decode.h"

#include <curl/curl.h>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <regex>
#include <string>
#include <thread>
#include <vector>

extern char **environ;

namespace {

using namespace std::chrono_literals;

struct spawn_options {
    std::vector<std::string> extra_args{};
    // Start with SIGINT and SIGTERM blocked, so a signal sent at once is held
    // until the program waits for it instead of killing it during start-up.
    bool stop_signals_blocked = false;
    // Start with SIGINT ignored, as a shell does for background jobs.
    bool sigint_ignored = false;
};

// The real vqgen-services executable, running on a free port with its stdout on a pipe.
class service_process {
public:
    explicit service_process(const spawn_options &options = {})
    {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);

        std::vector<std::string> args{VQGEN_SERVICES_EXE, "--host", "127.0.0.1", "--port", "0"};
        args.insert(args.end(), options.extra_args.begin(), options.extra_args.end());
        std::vector<char *> argv;
        for (std::string &a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);

        posix_spawnattr_t attr;
        posix_spawnattr_init(&attr);
        if (options.stop_signals_blocked) {
            sigset_t mask;
            sigemptyset(&mask);
            sigaddset(&mask, SIGINT);
            sigaddset(&mask, SIGTERM);
            posix_spawnattr_setsigmask(&attr, &mask);
            posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK);
        }
        // An ignored disposition survives exec, so ignore it here just for the spawn.
        struct sigaction previous {};
        if (options.sigint_ignored) {
            struct sigaction ignore {};
            ignore.sa_handler = SIG_IGN;
            sigaction(SIGINT, &ignore, &previous);
        }

        if (posix_spawn(&pid_, VQGEN_SERVICES_EXE, &actions, &attr, argv.data(), environ) != 0)
            pid_ = -1;
        if (options.sigint_ignored)
            sigaction(SIGINT, &previous, nullptr);
        posix_spawnattr_destroy(&attr);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        out_fd_ = fds[0];
    }

    ~service_process()
    {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (out_fd_ >= 0)
            close(out_fd_);
    }

    service_process(const service_process &) = delete;
    service_process &operator=(const service_process &) = delete;

    bool running() const { return pid_ > 0; }

    // Next complete stdout line without its newline; empty on timeout or EOF.
    std::string read_line(std::chrono::milliseconds timeout = 3000ms)
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            if (const auto nl = buffer_.find('\n'); nl != std::string::npos) {
                std::string line = buffer_.substr(0, nl);
                buffer_.erase(0, nl + 1);
                return line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left <= 0ms)
                return {};
            pollfd pfd{out_fd_, POLLIN, 0};
            if (poll(&pfd, 1, static_cast<int>(left.count())) <= 0)
                return {};
            char chunk[512];
            const ssize_t n = read(out_fd_, chunk, sizeof chunk);
            if (n <= 0)
                return {};
            buffer_.append(chunk, static_cast<std::size_t>(n));
        }
    }

    // Waits for the "listening on 127.0.0.1:PORT" line and returns PORT, or 0.
    int wait_listening()
    {
        const std::string line = read_line();
        std::smatch m;
        if (!std::regex_match(line, m, std::regex(R"(^listening on 127\.0\.0\.1:(\d+)$)")))
            return 0;
        return std::stoi(m[1]);
    }

    // Sends sig and returns the raw wait status, or -1 if it did not end in time.
    int signal_and_wait(int sig, std::chrono::milliseconds timeout = 3000ms)
    {
        kill(pid_, sig);
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return status;
            }
            std::this_thread::sleep_for(10ms);
        }
        return -1;
    }

private:
    pid_t pid_ = -1;
    int out_fd_ = -1;
    std::string buffer_;
};

struct http_reply {
    bool ok = false;
    long status = 0;
    std::string content_type;
    std::string body;
};

std::size_t append_body(char *data, std::size_t size, std::size_t count, void *user)
{
    static_cast<std::string *>(user)->append(data, size * count);
    return size * count;
}

http_reply http_get(int port, const std::string &target, std::chrono::milliseconds timeout = 3000ms)
{
    http_reply reply;
    CURL *curl = curl_easy_init();
    if (!curl)
        return reply;
    const std::string url = "http://127.0.0.1:" + std::to_string(port) + target;
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    // Never let a proxy from the environment take the request elsewhere.
    curl_easy_setopt(curl, CURLOPT_PROXY, "");
    curl_easy_setopt(curl, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(timeout.count()));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, append_body);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply.body);
    if (curl_easy_perform(curl) == CURLE_OK) {
        reply.ok = true;
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &reply.status);
        char *type = nullptr;
        curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &type);
        if (type)
            reply.content_type = type;
    }
    curl_easy_cleanup(curl);
    return reply;
}

std::vector<std::string> qr_texts(const http_reply &reply)
{
    return scan_qr_codes(decode_png_grey(reply.body));
}

// Sends one GET on a new connection and leaves the reply unread; the socket, or -1.
int send_get(int port, const std::string &target)
{
    const int sock = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (sock < 0)
        return -1;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const std::string request = "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    if (connect(sock, reinterpret_cast<const sockaddr *>(&addr), sizeof addr) != 0 ||
        send(sock, request.data(), request.size(), 0) != static_cast<ssize_t>(request.size())) {
        close(sock);
        return -1;
    }
    return sock;
}

// Whatever is readable on sock within timeout, up to the peer closing it.
std::string receive_available(int sock, std::chrono::milliseconds timeout)
{
    std::string data;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd pfd{sock, POLLIN, 0};
        if (left <= 0ms || poll(&pfd, 1, static_cast<int>(left.count())) <= 0)
            return data;
        char chunk[512];
        const ssize_t n = recv(sock, chunk, sizeof chunk, 0);
        if (n <= 0)
            return data;
        data.append(chunk, static_cast<std::size_t>(n));
    }
}

constexpr const char *raffle_target = "/api/cola/raffle?activityid=NA0371140216";

class services_test : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server_.running());
        port_ = server_.wait_listening();
        ASSERT_GT(port_, 0) << "no listening line";
    }

    service_process server_;
    int port_ = 0;
};

}  // namespace

TEST_F(services_test, raffle_returns_todays_json_coupon)
{
    const http_reply reply = http_get(port_, "/api/cola/raffle?activityid=NA0371140216");
    ASSERT_TRUE(reply.ok);
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.content_type, "application/json");
    EXPECT_TRUE(std::regex_match(reply.body,
                                 std::regex(R"(^\{"time":"\d{4}-\d{2}-\d{2}","activity":"[A-Z0-9]{12}"\}$)")))
        << reply.body;
}

TEST_F(services_test, raffle_codes_differ_between_requests)
{
    const http_reply first = http_get(port_, "/api/cola/raffle?activityid=NA0371140216");
    const http_reply second = http_get(port_, "/api/cola/raffle?activityid=NA0371140216");
    ASSERT_TRUE(first.ok && second.ok);
    EXPECT_NE(first.body, second.body);
}

TEST_F(services_test, raffle_with_wrong_or_missing_activity_is_404)
{
    const http_reply wrong = http_get(port_, "/api/cola/raffle?activityid=NA0371140217");
    ASSERT_TRUE(wrong.ok);
    EXPECT_EQ(wrong.status, 404);
    EXPECT_EQ(wrong.body, R"({"error":"unknown activity"})");

    const http_reply missing = http_get(port_, "/api/cola/raffle");
    ASSERT_TRUE(missing.ok);
    EXPECT_EQ(missing.status, 404);
}

TEST_F(services_test, unknown_path_is_404)
{
    const http_reply reply = http_get(port_, "/api/cola/other");
    ASSERT_TRUE(reply.ok);
    EXPECT_EQ(reply.status, 404);
}

TEST_F(services_test, qr_without_text_is_400)
{
    const http_reply reply = http_get(port_, "/api.php");
    ASSERT_TRUE(reply.ok);
    EXPECT_EQ(reply.status, 400);
    EXPECT_FALSE(reply.body.empty());
}

TEST_F(services_test, qr_with_empty_text_is_400)
{
    const http_reply reply = http_get(port_, "/api.php?text=");
    ASSERT_TRUE(reply.ok);
    EXPECT_EQ(reply.status, 400);
}

TEST_F(services_test, qr_png_decodes_to_the_text)
{
    const http_reply reply = http_get(port_, "/api.php?text=AB12CD34EF56");
    ASSERT_TRUE(reply.ok);
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.content_type, "image/png");
    const png_header header = read_png_header(reply.body);
    EXPECT_TRUE(header.valid);
    EXPECT_EQ(header.bit_depth, 8);
    EXPECT_EQ(header.colour_type, 0);
    EXPECT_EQ(qr_texts(reply), std::vector<std::string>{"AB12CD34EF56"});
}

TEST_F(services_test, qr_text_is_percent_decoded)
{
    const http_reply reply = http_get(port_, "/api.php?text=A%20B%26C");
    ASSERT_TRUE(reply.ok);
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(qr_texts(reply), std::vector<std::string>{"A B&C"});
}

TEST_F(services_test, qr_plus_becomes_a_space_and_encoded_plus_stays)
{
    EXPECT_EQ(qr_texts(http_get(port_, "/api.php?text=A+B")), std::vector<std::string>{"A B"});
    EXPECT_EQ(qr_texts(http_get(port_, "/api.php?text=A%2BB")), std::vector<std::string>{"A+B"});
}

TEST_F(services_test, qr_keeps_non_ascii_bytes)
{
    const http_reply reply = http_get(port_, "/api.php?text=caf%C3%A9%FF%80");
    ASSERT_TRUE(reply.ok);
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(qr_texts(reply), std::vector<std::string>{"caf\xc3\xa9\xff\x80"});
}

TEST_F(services_test, logs_one_line_per_request)
{
    ASSERT_TRUE(http_get(port_, "/api/cola/raffle?activityid=NA0371140216").ok);
    EXPECT_EQ(server_.read_line(), "GET /api/cola/raffle?activityid=NA0371140216 200");
    ASSERT_TRUE(http_get(port_, "/api.php").ok);
    EXPECT_EQ(server_.read_line(), "GET /api.php 400");
    ASSERT_TRUE(http_get(port_, "/nothing/here").ok);
    EXPECT_EQ(server_.read_line(), "GET /nothing/here 404");
}

TEST_F(services_test, sigterm_exits_cleanly)
{
    ASSERT_TRUE(http_get(port_, "/api.php?text=x").ok);
    const int status = server_.signal_and_wait(SIGTERM);
    ASSERT_NE(status, -1) << "still running after SIGTERM";
    ASSERT_TRUE(WIFEXITED(status)) << "wait status " << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(services_test, sigterm_exits_promptly_with_an_idle_connection_open)
{
    // A client that finished one request and keeps the connection open.
    const int sock = send_get(port_, "/api.php?text=x");
    ASSERT_GE(sock, 0);
    EXPECT_EQ(server_.read_line(), "GET /api.php?text=x 200");

    const auto start = std::chrono::steady_clock::now();
    const int status = server_.signal_and_wait(SIGTERM, 4000ms);
    const auto took = std::chrono::steady_clock::now() - start;
    close(sock);
    ASSERT_NE(status, -1) << "still running after SIGTERM";
    ASSERT_TRUE(WIFEXITED(status)) << "wait status " << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_LT(took, 2500ms);
}

TEST_F(services_test, sigint_exits_cleanly)
{
    const int status = server_.signal_and_wait(SIGINT);
    ASSERT_NE(status, -1) << "still running after SIGINT";
    ASSERT_TRUE(WIFEXITED(status)) << "wait status " << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(services_startup, sigterm_right_after_start_still_exits_cleanly)
{
    // The signal may land before the accept loop runs; whether it does varies
    // from run to run, so several starts give that window a fair chance.
    for (int attempt = 0; attempt < 8; ++attempt) {
        service_process server({.stop_signals_blocked = true});
        ASSERT_TRUE(server.running());
        const int status = server.signal_and_wait(SIGTERM);
        ASSERT_NE(status, -1) << "still running after SIGTERM, attempt " << attempt;
        ASSERT_TRUE(WIFEXITED(status)) << "wait status " << status;
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
}

TEST(services_startup, sigint_exits_cleanly_when_started_with_sigint_ignored)
{
    service_process server({.sigint_ignored = true});
    ASSERT_TRUE(server.running());
    ASSERT_GT(server.wait_listening(), 0);
    const int status = server.signal_and_wait(SIGINT);
    ASSERT_NE(status, -1) << "SIGINT was ignored";
    ASSERT_TRUE(WIFEXITED(status)) << "wait status " << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(services_startup, busy_port_is_an_error)
{
    service_process first;
    ASSERT_TRUE(first.running());
    const int port = first.wait_listening();
    ASSERT_GT(port, 0);

    service_process second({.extra_args = {"--port", std::to_string(port)}});
    ASSERT_TRUE(second.running());
    EXPECT_EQ(second.read_line(1000ms), "") << "a second server claims the same port";
    const int status = second.signal_and_wait(0);
    ASSERT_NE(status, -1) << "second server did not exit";
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 0);
}

TEST(services_startup, bad_port_is_refused)
{
    service_process server({.extra_args = {"--port", "70000"}});
    ASSERT_TRUE(server.running());
    const int status = server.signal_and_wait(0);
    ASSERT_NE(status, -1) << "did not exit on a bad port";
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 0);
}

TEST(services_delay, raffle_reply_waits_at_least_the_delay)
{
    struct delay_case {
        const char *arg;
        std::chrono::milliseconds at_least;
    };
    for (const delay_case &c : {delay_case{"300", 300ms}, delay_case{"1200", 1200ms}}) {
        SCOPED_TRACE(c.arg);
        service_process server({.extra_args = {"--delay-ms", c.arg}});
        ASSERT_TRUE(server.running());
        const int port = server.wait_listening();
        ASSERT_GT(port, 0);
        EXPECT_EQ(server.read_line(), std::string("raffle replies wait ") + c.arg + " ms");

        const auto start = std::chrono::steady_clock::now();
        const http_reply reply = http_get(port, raffle_target, c.at_least + 5000ms);
        const auto took = std::chrono::steady_clock::now() - start;
        ASSERT_TRUE(reply.ok);
        EXPECT_EQ(reply.status, 200);
        EXPECT_TRUE(std::regex_match(reply.body, std::regex(R"(^\{"time":"[0-9-]{10}","activity":"[A-Z0-9]{12}"\}$)")))
            << reply.body;
        EXPECT_GE(took, c.at_least);
    }
}

TEST(services_delay, qr_image_is_not_held_back_by_a_waiting_raffle)
{
    service_process server({.extra_args = {"--delay-ms", "20000"}});
    ASSERT_TRUE(server.running());
    const int port = server.wait_listening();
    ASSERT_GT(port, 0);
    EXPECT_EQ(server.read_line(), "raffle replies wait 20000 ms");

    const int waiting = send_get(port, raffle_target);
    ASSERT_GE(waiting, 0);
    std::this_thread::sleep_for(100ms);

    const auto start = std::chrono::steady_clock::now();
    const http_reply reply = http_get(port, "/api.php?text=AB12CD34EF56", 10000ms);
    const auto took = std::chrono::steady_clock::now() - start;
    ASSERT_TRUE(reply.ok);
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(qr_texts(reply), std::vector<std::string>{"AB12CD34EF56"});
    EXPECT_LT(took, 5000ms);
    // The QR request was logged first: the raffle sent before it is still waiting.
    EXPECT_EQ(server.read_line(), "GET /api.php?text=AB12CD34EF56 200");
    close(waiting);
}

TEST(services_delay, stop_signal_cuts_a_waiting_raffle_short)
{
    for (const int sig : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(sig == SIGTERM ? "SIGTERM" : "SIGINT");
        service_process server({.extra_args = {"--delay-ms", "600000"}});
        ASSERT_TRUE(server.running());
        const int port = server.wait_listening();
        ASSERT_GT(port, 0);
        const int sock = send_get(port, raffle_target);
        ASSERT_GE(sock, 0);
        // Long enough for the server to accept the connection and start the wait.
        std::this_thread::sleep_for(300ms);

        const auto start = std::chrono::steady_clock::now();
        const int status = server.signal_and_wait(sig, 4000ms);
        const auto took = std::chrono::steady_clock::now() - start;
        const std::string answer = receive_available(sock, 1000ms);
        close(sock);
        ASSERT_NE(status, -1) << "still running with a raffle reply waiting";
        ASSERT_TRUE(WIFEXITED(status)) << "wait status " << status;
        EXPECT_EQ(WEXITSTATUS(status), 0);
        EXPECT_LT(took, 2500ms);
        // The cut-short request still gets its reply rather than a dropped connection.
        EXPECT_TRUE(answer.starts_with("HTTP/1.1 200")) << answer;
    }
}

TEST(services_startup, delay_limits_are_accepted)
{
    for (const char *value : {"0", "600000"}) {
        SCOPED_TRACE(value);
        service_process server({.extra_args = {"--delay-ms", value}});
        ASSERT_TRUE(server.running());
        EXPECT_GT(server.wait_listening(), 0);
    }
}

TEST(services_startup, bad_delay_is_a_usage_error)
{
    const std::vector<std::vector<std::string>> bad_args{
        {"--delay-ms", "-1"},
        {"--delay-ms", "600001"},
        {"--delay-ms", "99999999999"},
        {"--delay-ms", "abc"},
        {"--delay-ms", ""},
        {"--delay-ms", "1.5"},
        {"--delay-ms", "5ms"},
        {"--delay-ms", "+5"},
        {"--delay-ms", " 5"},
        {"--delay-ms"},
    };
    for (const std::vector<std::string> &args : bad_args) {
        SCOPED_TRACE(args.size() > 1 ? "'" + args[1] + "'" : std::string("no value"));
        service_process server({.extra_args = args});
        ASSERT_TRUE(server.running());
        EXPECT_EQ(server.read_line(1000ms), "") << "started despite a bad delay";
        const int status = server.signal_and_wait(0);
        ASSERT_NE(status, -1) << "did not exit on a bad delay";
        ASSERT_TRUE(WIFEXITED(status)) << "wait status " << status;
        EXPECT_EQ(WEXITSTATUS(status), 2);
    }
}
