// The raffle fetch against real loopback peers that answer with exact bytes.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "codegen/fetch.h"
#include "codegen/url.h"
#include "support/script_server.h"

using namespace std::chrono_literals;
using namespace std::string_literals;

namespace {

std::string fetch(const std::string& url, const platform::HttpLimits& limits = {})
{
    return std::string(http_get_bytes(url, limits).view());
}

[[maybe_unused]] std::string header_lines(const std::string& head)
{
    return head.substr(0, head.find("\r\n\r\n") + 2);
}

} // namespace

TEST(ReadPieceSize, Table)
{
    struct Case {
        const char* content_length;
        std::size_t piece;
    };
    for (const Case& c : {Case{"5000", 5001}, Case{"1", 2}, Case{"102398", 102399}, Case{"102399", 102400},
                          Case{"200000", 102400}, Case{"2147483647", 102400}, Case{"", 10240},
                          Case{"0", 10240}, Case{"-5", 10240}, Case{"+5", 10240}, Case{"12abc", 10240},
                          Case{"2147483648", 10240}, Case{"9223372036854775808", 10240},
                          Case{"99999999999999999999999", 10240}})
        EXPECT_EQ(read_piece_size(c.content_length), c.piece) << c.content_length;
}

TEST(SplitUrl, Table)
{
    struct Case {
        const char* url;
        bool ok;
        bool tls = false;
        const char* host = "";
        int port = 0;
        const char* user = "";
        const char* password = "";
        const char* target = "";
    };
    const Case cases[] = {
        {"http://127.0.0.1:8370/api/cola/raffle?activityid=NA0371140216", true, false, "127.0.0.1", 8370, "",
         "", "/api/cola/raffle?activityid=NA0371140216"},
        {"http://example.test/a#frag?x", true, false, "example.test", 80, "", "", "/a"},
        {"HTTPS://example.test", true, true, "example.test", 443, "", "", "/"},
        {"http://u:p@h:81?q=1", true, false, "h", 81, "u", "p", "/?q=1"},
        {"http://h/a%20b c", true, false, "h", 80, "", "", "/a%20b c"}, // nothing encoded or decoded
        {"http://[::1]:9/x", true, false, "[::1]", 9, "", "", "/x"},
        {"ftp://h/x", false},
        {"h/x", false},
        {"http://", false},
        {"http://h:/x", false},
        {"http://h:0/x", false},
        {"http://h:65536/x", false},
        {"http://h:8x/x", false},
        {"http://h h/x", false},
        {"http://#h/x", false},
    };
    for (const Case& c : cases) {
        const auto target = split_url(c.url);
        ASSERT_EQ(target.has_value(), c.ok) << c.url;
        if (!c.ok)
            continue;
        EXPECT_EQ(target->tls, c.tls) << c.url;
        EXPECT_EQ(target->host, c.host) << c.url;
        EXPECT_EQ(target->port, c.port) << c.url;
        EXPECT_EQ(target->user, c.user) << c.url;
        EXPECT_EQ(target->password, c.password) << c.url;
        EXPECT_EQ(target->path_and_query, c.target) << c.url;
    }
}

TEST(HttpGetBytes, NothingIsSentForAnEmptyOrUnsplittableAddress)
{
    EXPECT_TRUE(http_get_bytes("").empty());
    EXPECT_TRUE(http_get_bytes("gopher://127.0.0.1/").empty());
}

TEST(HttpGetBytes, RefusedConnectionIsAbsent)
{
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(fetch("http://127.0.0.1:" + std::to_string(unused_port()) + "/"), "");
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
}

TEST(HttpGetBytes, BodiesAreReturnedWhateverTheStatus)
{
    struct Case {
        const char* name;
        std::string reply;
        std::string body;
    };
    const std::string big(200000, 'b');
    const Case cases[] = {
        {"404 with a page", http_reply("404 Not Found", "<html>gone</html>"), "<html>gone</html>"},
        {"500", http_reply("500 Oops", "{\"error\":1}"), "{\"error\":1}"},
        {"empty body", http_reply("200 OK", ""), ""},
        {"NUL inside", http_reply("200 OK", "ab\0cd"s), "ab\0cd"s},
        {"no Content-Length", http_reply("200 OK", "close-delimited", false), "close-delimited"},
        {"200,000 bytes", http_reply("200 OK", big), big},
        {"Content-Length larger than the body", "HTTP/1.0 200 OK\r\nContent-Length: 9000\r\n\r\nshort", "short"},
        {"garbage Content-Length", "HTTP/1.0 200 OK\r\nContent-Length: x7\r\n\r\nbody", "body"},
        {"overflowing Content-Length", "HTTP/1.0 200 OK\r\nContent-Length: 9223372036854775808\r\n\r\nbody",
         "body"},
    };
    for (const Case& c : cases) {
        ScriptServer server({ScriptServer::reply(c.reply)});
        ASSERT_TRUE(server.listening());
        EXPECT_EQ(fetch(server.url("/")), c.body) << c.name;
    }
}

TEST(HttpGetBytes, ATextEndsAtTheFirstNul)
{
    ScriptServer server({ScriptServer::reply(http_reply("200 OK", "{\"time\"\0rest"s))});
    EXPECT_EQ(bytes_to_text(http_get_bytes(server.url("/"))).view(), "{\"time\"");
}

TEST(HttpGetBytes, PieceComesFromContentLength)
{
    struct Case {
        std::string reply;
        std::string seen_header;
        std::size_t piece;
    };
    const Case cases[] = {
        {http_reply("200 OK", std::string(5000, 'x')), "5000", 5001},
        {http_reply("200 OK", "tiny", false), "", 10240},
        {http_reply("200 OK", std::string(200000, 'y')), "200000", 102400},
    };
    for (const Case& c : cases) {
        ScriptServer server({ScriptServer::reply(c.reply)});
        std::string seen = "<not asked>";
        std::size_t piece = 0;
        const std::string body = platform::http_get(*split_url(server.url("/")), "agent", {},
                                                    [&](std::string_view content_length) {
                                                        seen = std::string(content_length);
                                                        piece = read_piece_size(content_length);
                                                        return piece;
                                                    });
        EXPECT_EQ(seen, c.seen_header);
        EXPECT_EQ(piece, c.piece);
        EXPECT_EQ(body.size(), c.reply.size() - c.reply.find("\r\n\r\n") - 4);
    }
}

TEST(HttpGetBytes, SendsExactlyTheRequestOfTheProgram)
{
    ScriptServer server({ScriptServer::reply(http_reply("200 OK", "ok"))});
    const std::string path = "/api/cola/raffle?activityid=NA0371140216";
    ASSERT_EQ(fetch(server.url(path + "#fragment")), "ok");
    ASSERT_EQ(fetch(server.url(path)), "ok");
    const std::vector<std::string> requests = server.requests();
    ASSERT_EQ(requests.size(), 2u); // two fetches, two connections, nothing from a cache
    EXPECT_EQ(requests[0], requests[1]);
    const std::string request_line = "GET " + path + " HTTP/1.0\r\n";
    const std::string host = "Host: 127.0.0.1:" + std::to_string(server.port()) + "\r\n";
    const std::string agent = "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n";
#if defined(_WIN32)
    // WinINet adds headers of its own; the program's must be there, and no cookie.
    EXPECT_EQ(requests[0].rfind(request_line, 0), 0u);
    for (const std::string& line : {host, agent, std::string("Accept: */*\r\n"), std::string("Pragma: no-cache\r\n")})
        EXPECT_NE(requests[0].find(line), std::string::npos) << line;
    EXPECT_EQ(requests[0].find("Cookie:"), std::string::npos);
#else
    EXPECT_EQ(header_lines(requests[0]), request_line + host + agent +
                                             "Accept: */*\r\nPragma: no-cache\r\nCache-Control: no-cache\r\n");
#endif
}

TEST(HttpGetBytes, FollowsRedirectsAndKeepsCookiesForTheRun)
{
    ScriptServer target({ScriptServer::reply(http_reply("200 OK", "arrived", true, "Set-Cookie: seen=1\r\n"))});
    ScriptServer redirect({ScriptServer::reply(
        http_reply("302 Found", "", true, "Location: " + target.url("/next") + "\r\n"))});
    EXPECT_EQ(fetch(redirect.url("/")), "arrived");
    EXPECT_EQ(fetch(target.url("/again")), "arrived");
    const std::vector<std::string> requests = target.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].rfind("GET /next HTTP/1.0\r\n", 0), 0u);
#if !defined(_WIN32) // WinINet keeps its own cookie store; Wine's does not send this one back
    EXPECT_NE(requests[1].find("Cookie: seen=1\r\n"), std::string::npos);
#endif
}

TEST(HttpGetBytes, StopsCollectingAtTheCap)
{
    const std::string huge(3u << 20, 'h');
    ScriptServer server({ScriptServer::reply(http_reply("200 OK", huge, false))});
    EXPECT_EQ(fetch(server.url("/")), huge.substr(0, 1u << 20));
}

TEST(HttpGetBytes, ReadFailureAfterSomeBytesKeepsThem)
{
    ScriptServer server({ScriptServer::reply("HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\npartial"),
                         ScriptServer::pause_for(100ms), ScriptServer::reset_connection()});
    EXPECT_EQ(fetch(server.url("/")), "partial");
}

TEST(HttpGetBytes, SilentServerFailsAfterTheStallLimit)
{
    ScriptServer server({ScriptServer::pause_for(20s)});
    platform::HttpLimits limits;
    limits.stall_seconds = 1;
    limits.total_seconds = 3;
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(fetch(server.url("/"), limits), "");
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_GE(took, 900ms);
    EXPECT_LT(took, 4s);
}
