// Start-up, shutdown and the fatal stop, each in a child process of its own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>

#include <cstdlib>
#include <new>

#include "app/program_state.h"
#include "app/qt/window.h"
#include "app/start.h"
#include "text/text.h"

namespace {

char app_name[] = "lifecycle_test";
char* app_argv[] = {app_name, nullptr};
int app_argc = 1;

// Presses a key on the main window once the loop runs.
void press_later(Qt::Key key)
{
    QTimer::singleShot(50, [key] {
        QWidget* window = main_window_widget();
        if (window == nullptr)
            std::_Exit(90);
        if (!window->isVisible() || program.generated_count != 0)
            std::_Exit(91);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : window, &press);
    });
}

// Runs the program until Esc closes it; the exit code tells what went wrong.
[[noreturn]] void run_until_escape()
{
    QApplication app(app_argc, app_argv);
    program.generated_count = 7; // the created event must set it back to 0
    press_later(Qt::Key_Escape);
    const int status = start_program();
    if (main_window_widget() != nullptr)
        std::_Exit(92);
    const bool first = run_shutdown_step();
    const bool second = run_shutdown_step();
    std::_Exit(status != 0 ? 93 : !first ? 94 : second ? 95 : 0);
}

// Closes the window normally and lets main's return path run the shutdown step.
[[noreturn]] void exit_normally()
{
    {
        QApplication app(app_argc, app_argv);
        press_later(Qt::Key_Escape);
        program.page_html = Text("unsaved page");
        const int status = start_program();
        if (status != 0)
            std::_Exit(96);
    }
    std::exit(0); // the registered shutdown step runs here, once
}

[[noreturn]] void exhaust_memory()
{
    QApplication app(app_argc, app_argv);
    register_shutdown_step();
    install_memory_handler();
    volatile std::size_t huge = std::size_t{1} << 62;
    void* never = ::operator new(huge);
    static_cast<volatile char*>(never)[0] = 1;
    std::_Exit(97);
}

[[noreturn]] void text_too_long()
{
    install_memory_handler();
    const Text half(std::string(std::size_t{1} << 30, 'x'));
    (void)join_texts(half, half);
    std::_Exit(98);
}

} // namespace

TEST(LifecycleDeathTest, EscClosesAndStartProgramReturnsZero)
{
    EXPECT_EXIT(run_until_escape(), testing::ExitedWithCode(0), "");
}

TEST(LifecycleDeathTest, NormalCloseExitsWithZero)
{
    EXPECT_EXIT(exit_normally(), testing::ExitedWithCode(0), "");
}

TEST(LifecycleDeathTest, ExhaustedMemoryIsTheFatalStop)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer's operator new ends the process itself and never calls the new-handler";
#endif
    EXPECT_EXIT(exhaust_memory(), testing::ExitedWithCode(255), "out of memory");
}

TEST(LifecycleDeathTest, ATextReaching2To31BytesIsTheFatalStop)
{
    EXPECT_EXIT(text_too_long(), testing::ExitedWithCode(255), "out of memory");
}

TEST(Lifecycle, ShutdownStepRunsOnceAndReleasesTheTexts)
{
    program.page_html = Text("page");
    program.status_text = Text("status");
    program.generated_count = 4;
    EXPECT_FALSE(run_shutdown_step()); // not registered yet
    register_shutdown_step();
    EXPECT_TRUE(run_shutdown_step());
    EXPECT_FALSE(run_shutdown_step());
    EXPECT_TRUE(program.page_html.empty());
    EXPECT_TRUE(program.status_text.empty());
    EXPECT_EQ(program.generated_count, 4); // the counter is not touched
}
