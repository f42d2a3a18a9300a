#include "codegen/url.h"

#include <algorithm>
#include <cctype>

namespace {

bool equals_ignoring_case(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool is_plain_host(std::string_view host)
{
    return !host.empty() && std::none_of(host.begin(), host.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte <= ' ' || byte == 0x7F || c == '/' || c == '\\' || c == '@';
    });
}

std::optional<int> parse_port(std::string_view digits)
{
    if (digits.empty() || digits.size() > 5)
        return std::nullopt;
    int port = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        port = port * 10 + (c - '0');
    }
    if (port < 1 || port > 65535)
        return std::nullopt;
    return port;
}

// host or [v6] with an optional :port.
bool split_host_port(std::string_view host_port, platform::HttpTarget& target)
{
    std::string_view host = host_port;
    std::string_view port;
    if (host_port.starts_with('[')) {
        const std::size_t close = host_port.find(']');
        if (close == std::string_view::npos)
            return false;
        host = host_port.substr(0, close + 1);
        std::string_view after = host_port.substr(close + 1);
        if (!after.empty()) {
            if (after[0] != ':')
                return false;
            port = after.substr(1);
            if (port.empty())
                return false;
        }
    } else if (const std::size_t colon = host_port.rfind(':'); colon != std::string_view::npos) {
        host = host_port.substr(0, colon);
        port = host_port.substr(colon + 1);
        if (port.empty())
            return false;
    }
    if (!is_plain_host(host))
        return false;
    target.host = std::string(host);
    if (!port.empty()) {
        const std::optional<int> number = parse_port(port);
        if (!number)
            return false;
        target.port = *number;
    }
    return true;
}

} // namespace

std::optional<platform::HttpTarget> split_url(std::string_view url)
{
    url = url.substr(0, url.find('#'));
    const std::size_t scheme_end = url.find("://");
    if (scheme_end == std::string_view::npos)
        return std::nullopt;
    platform::HttpTarget target;
    const std::string_view scheme = url.substr(0, scheme_end);
    if (equals_ignoring_case(scheme, "https")) {
        target.tls = true;
        target.port = 443;
    } else if (!equals_ignoring_case(scheme, "http")) {
        return std::nullopt;
    }

    std::string_view rest = url.substr(scheme_end + 3);
    const std::size_t authority_end = std::min(rest.find('/'), rest.find('?'));
    std::string_view authority = rest.substr(0, authority_end);
    const std::string_view path = authority_end == std::string_view::npos ? std::string_view{}
                                                                          : rest.substr(authority_end);
    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) {
        const std::string_view user_info = authority.substr(0, at);
        const std::size_t colon = user_info.find(':');
        target.user = std::string(user_info.substr(0, colon));
        if (colon != std::string_view::npos)
            target.password = std::string(user_info.substr(colon + 1));
        authority = authority.substr(at + 1);
    }
    if (!split_host_port(authority, target))
        return std::nullopt;

    if (path.empty() || path.front() == '?')
        target.path_and_query.push_back('/');
    target.path_and_query.append(path);
    return target;
}
