// Presses of 按钮2 from a program directory of the test's own (support/relocate.h):
// 1.html byte for byte, the opener, and every way the save can fail.
#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#endif

#include <algorithm>

#include "app/program_state.h"
#include "behaviour/behaviour.h"
#include "support/relocate.h"
#include "support/test_files.h"
#include "text/program_texts.h"

namespace {

std::vector<std::string> leftovers()
{
    std::vector<std::string> names;
    for (const std::string& name : test_files::names_in(relocated::program_dir()))
        if (!name.starts_with("behaviour_tests"))
            names.push_back(name);
    std::sort(names.begin(), names.end());
    return names;
}

const std::vector<std::string> only_the_page{"1.html"};

// One way for the save to fail, made before the press and undone after it.
struct Cause {
    const char* name;
    void (*make)();
    void (*undo)();
    bool keeps_previous_file; // a previous 1.html is there and must stay
};

#if defined(_WIN32)
HANDLE holder = INVALID_HANDLE_VALUE;

const Cause causes[] = {
    {"1.html is a directory", [] { test_files::make_directory(relocated::page_file()); },
     [] { test_files::remove_tree(relocated::page_file()); }, false},
    {"1.html held open without sharing",
     [] {
         test_files::write(relocated::page_file(), "previous export");
         holder = CreateFileA(relocated::page_file().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
     },
     [] { CloseHandle(holder); }, true},
};
#else
const Cause causes[] = {
    {"1.html is a directory", [] { test_files::make_directory(relocated::page_file()); },
     [] { test_files::remove_tree(relocated::page_file()); }, false},
    {"a write cut short by RLIMIT_FSIZE",
     [] {
         test_files::write(relocated::page_file(), "previous export");
         std::signal(SIGXFSZ, SIG_IGN);
         const rlimit small{100, RLIM_INFINITY};
         ::setrlimit(RLIMIT_FSIZE, &small);
     },
     [] {
         const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
         ::setrlimit(RLIMIT_FSIZE, &unlimited);
     },
     true},
    // A running program's directory cannot be removed on Windows.
    {"the program directory is gone", [] { test_files::remove_tree(relocated::program_dir()); },
     [] {
         // The running test program went with it; put it back for the tests after this one.
         test_files::make_directory(relocated::program_dir());
         test_files::write(test_files::join(relocated::program_dir(), "behaviour_tests"), test_files::read("/proc/self/exe"));
         ::chmod(test_files::join(relocated::program_dir(), "behaviour_tests").c_str(), 0755);
     },
     false},
};
#endif

} // namespace

TEST_F(Behaviour, ThreeCodesThenExport)
{
    serve_reply(raffle_reply("A1B2C3"));
    for (int i = 0; i < 3; ++i)
        press();
    const std::string page = view(program.page_html);
    export_page();
    EXPECT_EQ(test_files::read(relocated::page_file()), page + std::string(gbk::export_notice));
    EXPECT_EQ(test_files::read(relocated::page_file()).size(), page.size() + 381);
    EXPECT_TRUE(driver::pump_until([] { return !relocated::opened_log().empty(); }));
    EXPECT_EQ(relocated::opened_log(), relocated::page_file() + "\n");
    EXPECT_EQ(view(read_control_text(Control::编辑框1)), "");
    EXPECT_EQ(view(read_control_text(Control::透明标签1)), std::string(gbk::export_done));
    EXPECT_EQ(program.generated_count, 0);
    EXPECT_TRUE(program.page_html.empty());
    EXPECT_EQ(leftovers(), only_the_page);
    press(); // a new batch counts from 1
    EXPECT_EQ(view(read_control_text(Control::透明标签1)), status_for(1));
}

TEST_F(Behaviour, EmptyBoxGivesTheNoticeOverALongerOldFile)
{
    test_files::write(relocated::page_file(), std::string(5000, 'o'));
    export_page();
    EXPECT_EQ(test_files::read(relocated::page_file()), std::string(gbk::export_notice));
    EXPECT_TRUE(driver::pump_until([] { return !relocated::opened_log().empty(); }));
    EXPECT_EQ(relocated::opened_log(), relocated::page_file() + "\n");
}

// A failed save leaves the box, the page and the counter as they were and any
// earlier 1.html whole; once the cause is gone a retry saves exactly one notice,
// and the next press counts on from the page's codes.
TEST_F(Behaviour, FailedSaveKeepsEverything)
{
    serve_reply(raffle_reply("A1B2C3"));
    for (const Cause& cause : causes) {
        SCOPED_TRACE(cause.name);
        program = ProgramState{};
        write_control_text(Control::编辑框1, "");
        test_files::remove_tree(test_files::join(relocated::home(), "opened.log"));
        press();
        press();
        const std::string page = view(program.page_html);
        cause.make();
        export_page();
        cause.undo();
        EXPECT_EQ(view(read_control_text(Control::透明标签1)), std::string(gbk::export_failed));
        EXPECT_EQ(view(read_control_text(Control::编辑框1)), page);
        EXPECT_EQ(view(program.page_html), page);
        EXPECT_EQ(program.generated_count, 2);
        EXPECT_EQ(relocated::opened_log(), "");
        if (cause.keeps_previous_file) {
            EXPECT_EQ(test_files::read(relocated::page_file()), "previous export");
            EXPECT_EQ(leftovers(), only_the_page); // no half-written file beside it
        } else {
            EXPECT_FALSE(test_files::exists(relocated::page_file()) && !test_files::is_directory(relocated::page_file()));
            EXPECT_TRUE(leftovers().empty());
        }

        press();
        EXPECT_EQ(view(read_control_text(Control::透明标签1)), status_for(3));
        const std::string longer = view(program.page_html);
        export_page();
        EXPECT_EQ(view(read_control_text(Control::透明标签1)), std::string(gbk::export_done));
        EXPECT_EQ(test_files::read(relocated::page_file()), longer + std::string(gbk::export_notice));
        EXPECT_TRUE(driver::pump_until([] { return !relocated::opened_log().empty(); }));
        EXPECT_EQ(relocated::opened_log(), relocated::page_file() + "\n");
        test_files::remove_tree(relocated::page_file());
    }
}

TEST_F(Behaviour, RetryAfterAFailedSaveHoldsOneNotice)
{
    serve_reply(raffle_reply("ONE"));
    press();
    const std::string page = view(program.page_html);
    test_files::make_directory(relocated::page_file());
    export_page();
    test_files::remove_tree(relocated::page_file());
    export_page();
    EXPECT_EQ(test_files::read(relocated::page_file()), page + std::string(gbk::export_notice));
    EXPECT_EQ(program.generated_count, 0);
}
