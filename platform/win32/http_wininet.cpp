// HTTP GET over WinINet: one session handle (the client context) for the run, a
// connection and a request for every fetch, each closed on every path.
#include <windows.h>
#include <wininet.h>

#include <memory>
#include <string>
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
    static InternetHandle session;
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

// Reads to the end of the body, the cap or the overall deadline; a failed read ends it.
void read_body(HINTERNET request, const platform::HttpLimits& limits, std::size_t piece,
               ULONGLONG deadline, std::string& body)
{
    std::vector<char> buffer(piece);
    body.reserve(std::min(piece, limits.body_cap));
    while (body.size() < limits.body_cap) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            return;
        // A read may wait no longer than the stall limit nor past the deadline.
        const long left = static_cast<long>((deadline - now + 999) / 1000);
        set_timeout(request, INTERNET_OPTION_RECEIVE_TIMEOUT, std::min(limits.stall_seconds, left));
        DWORD read = 0;
        const DWORD want = static_cast<DWORD>(std::min(buffer.size(), limits.body_cap - body.size()));
        if (!InternetReadFile(request, buffer.data(), want, &read) || read == 0)
            return;
        body.append(buffer.data(), read);
    }
}

} // namespace

namespace platform {

std::string http_get(const HttpTarget& target, std::string_view user_agent,
                     const HttpLimits& limits, const PieceRule& piece_rule)
{
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(limits.total_seconds) * 1000;
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
    char accept[] = "Accept: */*";
    if (!HttpSendRequestA(request.get(), accept, static_cast<DWORD>(-1), nullptr, 0))
        return {};
    std::string body;
    read_body(request.get(), limits, piece_rule(content_length(request.get())), deadline, body);
    return body;
}

} // namespace platform
