// HTTP GET over WinINet: one session handle (the client context) for the run, a
// connection and a request for every fetch, each closed on every path.
#include <windows.h>
#include <wininet.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"

namespace {

struct HandleCloser {
    void operator()(void* handle) const { InternetCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, HandleCloser>;

void set_timeout(HINTERNET handle, DWORD option, long seconds)
{
    DWORD milliseconds = static_cast<DWORD>(seconds * 1000);
    InternetSetOptionA(handle, option, &milliseconds, sizeof milliseconds);
}

// Created by the first fetch; a failed creation leaves none, so the next one tries again.
HINTERNET client_context(const std::string& user_agent, const platform::HttpLimits& limits)
{
    static std::mutex creation; // a fetch left behind may still run beside the next
    static InternetHandle session;
    std::lock_guard lock(creation);
    if (!session)
        session.reset(InternetOpenA(user_agent.c_str(), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (session) {
        set_timeout(session.get(), INTERNET_OPTION_CONNECT_TIMEOUT, limits.connect_seconds);
        set_timeout(session.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, limits.stall_seconds);
        set_timeout(session.get(), INTERNET_OPTION_SEND_TIMEOUT, limits.stall_seconds);
    }
    return session.get();
}

// The platform's preconfigured proxy settings, with an empty proxy user and password.
void use_preconfigured_proxy(HINTERNET session, HINTERNET connection)
{
    INTERNET_PROXY_INFO proxy{INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr};
    InternetSetOptionA(session, INTERNET_OPTION_PROXY, &proxy, sizeof proxy);
    char empty[] = "";
    InternetSetOptionA(connection, INTERNET_OPTION_PROXY_USERNAME, empty, 0);
    InternetSetOptionA(connection, INTERNET_OPTION_PROXY_PASSWORD, empty, 0);
}

std::string content_length(HINTERNET request)
{
    char value[64] = {};
    DWORD size = sizeof value;
    if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, value, &size, nullptr))
        return {};
    return std::string(value, size);
}

// One fetch's request, shared between the caller and the thread that runs it.
// WinINet's own time-outs are not honoured everywhere (Wine's WinINet waits on a
// silent server and follows a redirect loop forever), so the caller waits for the
// request no longer than the overall limit and then leaves it behind: the thread
// closes the handles whenever the request ends.
struct Fetch {
    InternetHandle connection;
    InternetHandle request;
    const platform::HttpLimits limits;
    const platform::PieceRule piece_rule;
    std::mutex mutex;
    std::condition_variable finished_signal;
    bool finished = false;
    std::string body;
};

// Reads what is there, up to a piece at a time, until the end, the cap or a failure.
void read_body(Fetch& fetch, std::size_t piece)
{
    std::vector<char> buffer(piece);
    const std::size_t cap = fetch.limits.body_cap;
    std::size_t collected = 0;
    while (collected < cap) {
        DWORD available = 0;
        if (!InternetQueryDataAvailable(fetch.request.get(), &available, 0, 0) || available == 0)
            return;
        DWORD read = 0;
        const DWORD want = static_cast<DWORD>(std::min({buffer.size(), cap - collected, std::size_t{available}}));
        if (!InternetReadFile(fetch.request.get(), buffer.data(), want, &read) || read == 0)
            return;
        std::lock_guard lock(fetch.mutex);
        fetch.body.append(buffer.data(), read);
        collected = fetch.body.size();
    }
}

void run(const std::shared_ptr<Fetch>& fetch)
{
    char accept[] = "Accept: */*";
    if (HttpSendRequestA(fetch->request.get(), accept, static_cast<DWORD>(-1), nullptr, 0))
        read_body(*fetch, fetch->piece_rule(content_length(fetch->request.get())));
    {
        std::lock_guard lock(fetch->mutex);
        fetch->finished = true;
    }
    fetch->finished_signal.notify_all();
}

} // namespace

namespace platform {

std::string http_get(const HttpTarget& target, std::string_view user_agent,
                     const HttpLimits& limits, const PieceRule& piece_rule)
{
    HINTERNET session = client_context(std::string(user_agent), limits);
    if (session == nullptr)
        return {};
    InternetHandle connection(InternetConnectA(
        session, target.host.c_str(), static_cast<INTERNET_PORT>(target.port),
        target.user.empty() ? nullptr : target.user.c_str(),
        target.password.empty() ? nullptr : target.password.c_str(), INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection)
        return {};
    use_preconfigured_proxy(session, connection.get());
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                        (target.tls ? INTERNET_FLAG_SECURE : 0);
    InternetHandle request(HttpOpenRequestA(connection.get(), "GET", target.path_and_query.c_str(), "HTTP/1.0",
                                            nullptr, nullptr, flags, 0));
    if (!request)
        return {};
    auto fetch = std::make_shared<Fetch>(std::move(connection), std::move(request), limits, piece_rule);
    std::thread([fetch] { run(fetch); }).detach();
    std::unique_lock lock(fetch->mutex);
    fetch->finished_signal.wait_for(lock, std::chrono::seconds(limits.total_seconds), [&] { return fetch->finished; });
    return fetch->body; // what arrived in time
}

} // namespace platform
