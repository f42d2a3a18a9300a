// HTTP GET over libcurl: one share handle (the client context with its cookie
// store) for the run, a fresh easy handle and connection for every fetch.
// libcurl is loaded with the client context, at the first fetch: its two dozen
// dependent libraries would otherwise double the program's start-up time.
#include <curl/curl.h>
#include <dlfcn.h>

#include <algorithm>
#include <cctype>
#include <array>
#include <memory>
#include <mutex>
#include <string>

#include "platform/platform.h"

namespace {

// The libcurl calls this file makes, looked up in the loaded library.
struct Curl {
    decltype(&::curl_global_init) global_init;
    decltype(&::curl_share_init) share_init;
    decltype(&::curl_share_setopt) share_setopt;
    decltype(&::curl_share_cleanup) share_cleanup;
    decltype(&::curl_easy_init) easy_init;
    decltype(&::curl_easy_setopt) easy_setopt;
    decltype(&::curl_easy_perform) easy_perform;
    decltype(&::curl_easy_cleanup) easy_cleanup;
    decltype(&::curl_slist_append) slist_append;
    decltype(&::curl_slist_free_all) slist_free_all;
    decltype(&::curl_url) url;
    decltype(&::curl_url_set) url_set;
    decltype(&::curl_url_cleanup) url_cleanup;
};

Curl curl{};

template <typename Function>
bool look_up(void* library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(::dlsym(library, name));
    return function != nullptr;
}

bool load_curl()
{
    void* library = ::dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
        return false;
    const bool found = look_up(library, "curl_global_init", curl.global_init) &&
                       look_up(library, "curl_share_init", curl.share_init) &&
                       look_up(library, "curl_share_setopt", curl.share_setopt) &&
                       look_up(library, "curl_share_cleanup", curl.share_cleanup) &&
                       look_up(library, "curl_easy_init", curl.easy_init) &&
                       look_up(library, "curl_easy_setopt", curl.easy_setopt) &&
                       look_up(library, "curl_easy_perform", curl.easy_perform) &&
                       look_up(library, "curl_easy_cleanup", curl.easy_cleanup) &&
                       look_up(library, "curl_slist_append", curl.slist_append) &&
                       look_up(library, "curl_slist_free_all", curl.slist_free_all) &&
                       look_up(library, "curl_url", curl.url) &&
                       look_up(library, "curl_url_set", curl.url_set) &&
                       look_up(library, "curl_url_cleanup", curl.url_cleanup);
    if (!found) {
        ::dlclose(library);
        curl = {};
    }
    return found;
}

struct ShareDeleter {
    void operator()(CURLSH* share) const { curl.share_cleanup(share); }
};
struct EasyDeleter {
    void operator()(CURL* easy) const { curl.easy_cleanup(easy); }
};
struct SlistDeleter {
    void operator()(curl_slist* list) const { curl.slist_free_all(list); }
};
struct UrlDeleter {
    void operator()(CURLU* url) const { curl.url_cleanup(url); }
};

// Fetches run off the window's thread, and one left behind may still run beside the
// next: the shared cookie store takes a lock per kind of data, and the context is
// made under a lock of its own.
std::array<std::mutex, CURL_LOCK_DATA_LAST> share_locks;

void lock_share(CURL*, curl_lock_data data, curl_lock_access, void*)
{
    share_locks[data].lock();
}

void unlock_share(CURL*, curl_lock_data data, void*)
{
    share_locks[data].unlock();
}

// Created by the first fetch; a failed creation leaves none, so the next one tries again.
// The library stays loaded for the rest of the run.
CURLSH* client_context()
{
    static std::mutex creation;
    static std::unique_ptr<CURLSH, ShareDeleter> context;
    std::lock_guard lock(creation);
    if (context)
        return context.get();
    if (curl.easy_init == nullptr && !load_curl())
        return nullptr;
    if (curl.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
        return nullptr;
    std::unique_ptr<CURLSH, ShareDeleter> share(curl.share_init());
    if (!share || curl.share_setopt(share.get(), CURLSHOPT_LOCKFUNC, lock_share) != CURLSHE_OK ||
        curl.share_setopt(share.get(), CURLSHOPT_UNLOCKFUNC, unlock_share) != CURLSHE_OK ||
        curl.share_setopt(share.get(), CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE) != CURLSHE_OK)
        return nullptr;
    context = std::move(share);
    return context.get();
}

struct Transfer {
    const platform::HttpLimits* limits;
    const platform::PieceRule* piece_rule;
    std::string content_length;
    bool sized = false;
    std::string body;
};

std::string trimmed(std::string_view value)
{
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!value.empty() && space(value.front()))
        value.remove_prefix(1);
    while (!value.empty() && space(value.back()))
        value.remove_suffix(1);
    return std::string(value);
}

size_t on_header(char* data, size_t size, size_t count, void* user)
{
    auto& transfer = *static_cast<Transfer*>(user);
    const std::string_view line(data, size * count);
    constexpr std::string_view name = "content-length:";
    if (line.starts_with("HTTP/")) {
        transfer.content_length.clear(); // a new response after a redirect
    } else if (line.size() >= name.size() &&
               std::equal(name.begin(), name.end(), line.begin(), [](char a, char b) {
                   return a == std::tolower(static_cast<unsigned char>(b));
               })) {
        transfer.content_length = trimmed(line.substr(name.size()));
    }
    return size * count;
}

size_t on_body(char* data, size_t size, size_t count, void* user)
{
    auto& transfer = *static_cast<Transfer*>(user);
    const size_t cap = transfer.limits->body_cap;
    if (!transfer.sized) {
        transfer.sized = true;
        transfer.body.reserve(std::min((*transfer.piece_rule)(transfer.content_length), cap));
    }
    const size_t arrived = size * count;
    const size_t room = cap - std::min(cap, transfer.body.size());
    transfer.body.append(data, std::min(arrived, room));
    return arrived <= room ? arrived : 0; // 0 ends the transfer at the cap
}

std::unique_ptr<CURLU, UrlDeleter> make_url(const platform::HttpTarget& target)
{
    std::unique_ptr<CURLU, UrlDeleter> url(curl.url());
    if (!url)
        return nullptr;
    const std::string& full = target.path_and_query;
    const size_t question = full.find('?');
    const std::string path = full.substr(0, question);
    const std::string port = std::to_string(target.port);
    bool ok = curl.url_set(url.get(), CURLUPART_SCHEME, target.tls ? "https" : "http", 0) == CURLUE_OK &&
              curl.url_set(url.get(), CURLUPART_HOST, target.host.c_str(), 0) == CURLUE_OK &&
              curl.url_set(url.get(), CURLUPART_PORT, port.c_str(), 0) == CURLUE_OK &&
              curl.url_set(url.get(), CURLUPART_PATH, path.c_str(), 0) == CURLUE_OK;
    if (ok && question != std::string::npos)
        ok = curl.url_set(url.get(), CURLUPART_QUERY, full.c_str() + question + 1, 0) == CURLUE_OK;
    return ok ? std::move(url) : nullptr;
}

void set_request_options(CURL* easy, CURLSH* share, curl_slist* headers, std::string_view agent,
                         const platform::HttpLimits& limits)
{
    curl.easy_setopt(easy, CURLOPT_SHARE, share);
    curl.easy_setopt(easy, CURLOPT_COOKIEFILE, ""); // cookie engine on, in memory only
    curl.easy_setopt(easy, CURLOPT_USERAGENT, std::string(agent).c_str());
    curl.easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
    curl.easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    curl.easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    curl.easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L);
    // The body runs to the end of the connection whatever its Content-Length says,
    // and a malformed one must not cost the reply.
    curl.easy_setopt(easy, CURLOPT_IGNORE_CONTENT_LENGTH, 1L);
    curl.easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl.easy_setopt(easy, CURLOPT_MAXREDIRS, 10L);
    curl.easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl.easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl.easy_setopt(easy, CURLOPT_FRESH_CONNECT, 1L);
    curl.easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);
    curl.easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl.easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, limits.connect_seconds);
    curl.easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl.easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, limits.stall_seconds);
    curl.easy_setopt(easy, CURLOPT_TIMEOUT, limits.total_seconds);
    curl.easy_setopt(easy, CURLOPT_BUFFERSIZE, 102400L);
}

} // namespace

namespace platform {

std::string http_get(const HttpTarget& target, std::string_view user_agent,
                     const HttpLimits& limits, const PieceRule& piece_rule)
{
    CURLSH* share = client_context();
    if (share == nullptr)
        return {};
    std::unique_ptr<CURL, EasyDeleter> easy(curl.easy_init());
    std::unique_ptr<CURLU, UrlDeleter> url = make_url(target);
    if (!easy || !url)
        return {};
    std::unique_ptr<curl_slist, SlistDeleter> headers;
    for (const char* header : {"Accept: */*", "Pragma: no-cache", "Cache-Control: no-cache"}) {
        curl_slist* longer = curl.slist_append(headers.get(), header);
        if (longer == nullptr)
            return {};
        (void)headers.release(); // the list lives on in longer
        headers.reset(longer);
    }

    Transfer transfer{&limits, &piece_rule, {}, false, {}};
    char error[CURL_ERROR_SIZE] = {};
    set_request_options(easy.get(), share, headers.get(), user_agent, limits);
    curl.easy_setopt(easy.get(), CURLOPT_CURLU, url.get());
    if (!target.user.empty() || !target.password.empty()) {
        curl.easy_setopt(easy.get(), CURLOPT_USERNAME, target.user.c_str());
        curl.easy_setopt(easy.get(), CURLOPT_PASSWORD, target.password.c_str());
    }
    curl.easy_setopt(easy.get(), CURLOPT_ERRORBUFFER, error);
    curl.easy_setopt(easy.get(), CURLOPT_HEADERFUNCTION, on_header);
    curl.easy_setopt(easy.get(), CURLOPT_HEADERDATA, &transfer);
    curl.easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, on_body);
    curl.easy_setopt(easy.get(), CURLOPT_WRITEDATA, &transfer);
    // Whatever the outcome, the bytes that arrived are the reply.
    curl.easy_perform(easy.get());
    return std::move(transfer.body);
}

} // namespace platform
