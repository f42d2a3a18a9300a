#include "server.h"

#include <httplib.h>

#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>

#include <atomic>
#include <charconv>
#include <chrono>
#include <iostream>
#include <string>
#include <string_view>
#include <thread>

namespace {

struct options {
    std::string host = "127.0.0.1";
    int port = 8370;
    std::chrono::milliseconds raffle_delay{0};
};

// Ten minutes is far past any client's time limit; more is surely a typo.
constexpr int max_delay_ms = 600000;

// A whole decimal number from 0 to max, and nothing else.
bool parse_bounded(std::string_view text, int max, int &out)
{
    int value = -1;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || value < 0 || value > max)
        return false;
    out = value;
    return true;
}

bool parse_delay_ms(std::string_view text, std::chrono::milliseconds &delay)
{
    int value = 0;
    if (!parse_bounded(text, max_delay_ms, value))
        return false;
    delay = std::chrono::milliseconds(value);
    return true;
}

bool parse_options(int argc, char **argv, options &opts)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--host" && i + 1 < argc) {
            opts.host = argv[++i];
        } else if (arg == "--port" && i + 1 < argc) {
            if (!parse_bounded(argv[++i], 65535, opts.port)) {
                std::cerr << "vqgen-services: invalid port '" << argv[i] << "'\n";
                return false;
            }
        } else if (arg == "--delay-ms" && i + 1 < argc) {
            if (!parse_delay_ms(argv[++i], opts.raffle_delay)) {
                std::cerr << "vqgen-services: invalid delay '" << argv[i] << "' (whole milliseconds, 0 to "
                          << max_delay_ms << ")\n";
                return false;
            }
        } else {
            std::cerr << "usage: vqgen-services [--host H] [--port P] [--delay-ms N]\n"
                         "  P = 0 picks a free port; each raffle reply waits N milliseconds (default 0)\n";
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char **argv)
{
    options opts;
    if (!parse_options(argc, argv, opts))
        return 2;

    // Blocked before any thread exists so that only the watcher below ever
    // sees them; stop() is then called from ordinary thread context.
    // A shell starts background jobs with SIGINT ignored, and POSIX leaves
    // sigwait on an ignored signal unspecified. While blocked, the default
    // action never runs, so resetting it is safe.
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    sigset_t stop_signals;
    sigemptyset(&stop_signals);
    sigaddset(&stop_signals, SIGINT);
    sigaddset(&stop_signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

    // Declared before the server: its handlers wait on the gate until they are gone.
    delay_gate gate;
    httplib::Server server;
    register_service_routes(server, std::cout, opts.raffle_delay, gate);
    // Shutting down waits for every open connection's idle timeout; keep it
    // short so a client holding a keep-alive connection cannot delay exit long.
    server.set_keep_alive_timeout(1);
    // httplib's default adds SO_REUSEPORT, which lets a second instance share
    // the port silently; a busy port should be an error instead.
    server.set_socket_options([](socket_t sock) {
        int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });

    int port = opts.port;
    if (port == 0) {
        port = server.bind_to_any_port(opts.host);
        if (port <= 0) {
            std::cerr << "vqgen-services: cannot bind " << opts.host << '\n';
            return 1;
        }
    } else if (!server.bind_to_port(opts.host, port)) {
        std::cerr << "vqgen-services: cannot bind " << opts.host << ':' << port << '\n';
        return 1;
    }

    std::atomic<bool> listen_returned{false};
    std::atomic<bool> got_signal{false};
    std::thread watcher([&] {
        int sig = 0;
        sigwait(&stop_signals, &sig);
        got_signal = true;
        open_delay_gate(gate);
        // stop() does nothing until the accept loop is running, so a signal
        // that arrives during start-up is retried until listening ends.
        while (!listen_returned) {
            if (server.is_running())
                server.stop();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });

    std::cout << "listening on " << opts.host << ':' << port << std::endl;
    if (opts.raffle_delay.count() > 0)
        std::cout << "raffle replies wait " << opts.raffle_delay.count() << " ms" << std::endl;
    const bool ok = server.listen_after_bind();
    listen_returned = true;

    // Read before waking the watcher, which would otherwise set the flag itself.
    const bool stopped_by_signal = got_signal;
    if (!stopped_by_signal)
        pthread_kill(watcher.native_handle(), SIGTERM);
    watcher.join();
    return (ok || stopped_by_signal) ? 0 : 1;
}
