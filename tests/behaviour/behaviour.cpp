#include "behaviour/behaviour.h"

#include "app/press_queue.h"
#include "app/program_state.h"
#include "app/start.h"
#include "support/relocate.h"
#include "support/test_files.h"

std::string view(const Text& text)
{
    return std::string(text.view());
}

std::string expected_snippet(const std::string& code_in_address, const std::string& date,
                             const std::string& code_shown)
{
    return "<img src=\"http://" + std::string(behaviour_endpoint) + "/api.php?text=" + code_in_address +
           "\" alt=\"\" width=\"150\" height=\"150\" title=\"\" align=\"\" /><p>\r\n\t"
           "\xD3\xD0\xD0\xA7\xC6\xDA\xB5\xBD" + date + "</p>\xB1\xBE\xB4\xCE\xD3\xC5\xBB\xDD\xC2\xEB\xCE\xAA" +
           code_shown + "</p>";
}

std::string plain_snippet(const std::string& code, const std::string& date)
{
    return expected_snippet(code, date, code);
}

std::string raffle_reply(const std::string& code, const std::string& date)
{
    return "{\"time\":\"" + date + "\",\"activity\":\"" + code + "\"}";
}

std::string status_for(int count)
{
    return "\xB7\xB5\xBB\xD8\xD0\xC5\xCF\xA2\xA3\xBA\xB3\xC9\xB9\xA6\xC9\xFA\xB3\xC9" + std::to_string(count) +
           "\xB8\xF6VostrelQuilbe\xB6\xFE\xCE\xAC\xC2\xEB";
}

void Behaviour::SetUp()
{
    // The program directory holds the program and nothing else; no open is recorded.
    test_files::make_directory(relocated::program_dir());
    for (const std::string& name : test_files::names_in(relocated::program_dir()))
        if (!name.starts_with("behaviour_tests"))
            test_files::remove_tree(test_files::join(relocated::program_dir(), name));
    test_files::remove_tree(test_files::join(relocated::home(), "opened.log"));
    program = ProgramState{};
    ASSERT_TRUE(driver::load(program_events()));
}

void Behaviour::TearDown()
{
    wait_for_presses();
    program.page_html = Text(); // nothing left to ask about
    driver::close_button();
    EXPECT_TRUE(driver::pump_until([] { return !driver::window_open(); }));
    raffle.reset();
}

void Behaviour::serve(std::vector<ScriptStep> script)
{
    raffle.reset();
    raffle.emplace(std::move(script), behaviour_port);
    ASSERT_TRUE(raffle->listening());
}

void Behaviour::serve_reply(const std::string& body)
{
    serve({ScriptServer::reply(http_reply("200 OK", body, body.find("{N}") == std::string::npos))});
}

void Behaviour::wait_for_presses()
{
    // A guard against a hang, not a time limit: sanitizer builds lay a megabyte out slowly.
    ASSERT_TRUE(driver::pump_until([] { return !press_in_flight(); }, std::chrono::seconds(120)));
}

void Behaviour::press()
{
    driver::click(Control::按钮1);
    wait_for_presses();
}
