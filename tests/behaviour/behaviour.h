// What the behaviour tests share: the window loaded with the program's events, a
// loopback raffle peer on the port this build of the core asks, and the snippets
// and messages spelled out as the page and the label must carry them.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "behaviour/driver.h"
#include "support/script_server.h"

// The behaviour core asks this port for both services, and fetches with limits of
// 3 s to connect, 3 s without a byte and 6 s in all.
inline constexpr std::uint16_t behaviour_port = 18374;
inline constexpr const char* behaviour_endpoint = "127.0.0.1:18374";

std::string view(const Text& text);

// The snippet spelled out piece by piece.
std::string expected_snippet(const std::string& code_in_address, const std::string& date,
                             const std::string& code_shown);
std::string plain_snippet(const std::string& code, const std::string& date);
std::string raffle_reply(const std::string& code, const std::string& date = "2016-07-31");
std::string status_for(int count);

class Behaviour : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The peer answers every connection with the script ("{N}": the connection's number).
    void serve(std::vector<ScriptStep> script);
    void serve_reply(const std::string& body);
    void stop_serving() { raffle.reset(); }

    // A press of 按钮1 by mouse, and the wait for its reply to be handled.
    void press();
    void wait_for_presses();
    void export_page() { driver::click(Control::按钮2); }

    std::optional<ScriptServer> raffle;
};
