// The fetch against servers that misbehave on purpose: every case ends, in bounded
// time, with at most the cap of bytes.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "codegen/fetch.h"
#include "support/script_server.h"

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

platform::HttpLimits short_limits()
{
    platform::HttpLimits limits;
    limits.connect_seconds = 2;
    limits.stall_seconds = 2;
    limits.total_seconds = 4;
    return limits;
}

struct Outcome {
    std::string body;
    Clock::duration took;
};

Outcome fetch(const std::string& url)
{
    const auto started = Clock::now();
    std::string body(http_get_bytes(url, short_limits()).view());
    return {std::move(body), Clock::now() - started};
}

std::vector<ScriptStep> trickle(int bytes)
{
    std::vector<ScriptStep> steps{ScriptServer::reply("HTTP/1.0 200 OK\r\n\r\n")};
    for (int i = 0; i < bytes; ++i) {
        steps.push_back(ScriptServer::reply("t"));
        steps.push_back(ScriptServer::pause_for(1s));
    }
    return steps;
}

} // namespace

TEST(HostileServer, EndlessBodyStopsAtTheCap)
{
    ScriptServer server({ScriptServer::reply("HTTP/1.0 200 OK\r\n\r\n"),
                         ScriptServer::repeat_forever(std::string(65536, 'e'))});
    const Outcome outcome = fetch(server.url("/"));
    EXPECT_EQ(outcome.body, std::string(1u << 20, 'e'));
    EXPECT_LT(outcome.took, 4s);
}

TEST(HostileServer, TrickleIsStoppedByTheOverallLimit)
{
    ScriptServer server(trickle(30));
    const Outcome outcome = fetch(server.url("/"));
    EXPECT_GE(outcome.took, 3500ms);
    EXPECT_LT(outcome.took, 6s);
    EXPECT_FALSE(outcome.body.empty()); // what arrived is the reply
    EXPECT_LT(outcome.body.size(), 8u);
    EXPECT_EQ(outcome.body.find_first_not_of('t'), std::string::npos);
}

TEST(HostileServer, UnfinishedHeadersFailAfterTheStallLimit)
{
    ScriptServer server({ScriptServer::reply("HTTP/1.0 200 OK\r\nContent-Le"), ScriptServer::pause_for(20s)});
    const Outcome outcome = fetch(server.url("/"));
    EXPECT_EQ(outcome.body, "");
    EXPECT_LT(outcome.took, 5s);
}

TEST(HostileServer, HugeContentLengthWithATinyBody)
{
    ScriptServer server({ScriptServer::reply("HTTP/1.0 200 OK\r\nContent-Length: 9223372036854775807\r\n\r\ntiny")});
    const Outcome outcome = fetch(server.url("/"));
    EXPECT_EQ(outcome.body, "tiny");
    EXPECT_LT(outcome.took, 2s);
}

TEST(HostileServer, RedirectLoopStops)
{
    ScriptServer server({ScriptServer::reply(http_reply("302 Found", "again", true, "Location: /loop\r\n"))});
    const Outcome outcome = fetch(server.url("/loop"));
#if defined(_WIN32)
    // WinINet sets its own number of redirects (Wine's none): the overall limit ends it.
    EXPECT_LT(outcome.took, 5s);
#else
    EXPECT_LT(outcome.took, 4s);
    EXPECT_EQ(server.requests().size(), 11u); // the first request and ten redirects
#endif
    EXPECT_LE(outcome.body.size(), 5u);
}

TEST(HostileServer, RedirectToAnotherSchemeIsNotFollowed)
{
    for (const std::string scheme : {"ftp", "file", "gopher"}) {
        ScriptServer elsewhere({ScriptServer::reply("220 hello\r\n")});
        const std::string target = scheme == "file" ? "file:///etc/passwd"
                                                    : scheme + "://127.0.0.1:" + std::to_string(elsewhere.port()) + "/";
        ScriptServer server({ScriptServer::reply(http_reply("302 Found", "moved", true, "Location: " + target + "\r\n"))});
        const Outcome outcome = fetch(server.url("/"));
        EXPECT_TRUE(elsewhere.requests().empty()) << scheme;
        EXPECT_EQ(outcome.body.find("root:"), std::string::npos) << scheme;
        EXPECT_LT(outcome.took, 2s) << scheme;
    }
}

TEST(HostileServer, GzipBodyIsReturnedAsReceived)
{
    // "hello" compressed with gzip, header and trailer included.
    const std::string gzipped("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03\xcb\x48\xcd\xc9\xc9\x07\x00\x86\xa6\x10\x36\x05\x00\x00\x00", 25);
    ScriptServer server({ScriptServer::reply(http_reply("200 OK", gzipped, true, "Content-Encoding: gzip\r\n"))});
    EXPECT_EQ(fetch(server.url("/")).body, gzipped);
    EXPECT_EQ(server.requests()[0].find("Accept-Encoding"), std::string::npos);
}
