// The shutdown step, and a text too long for its 32-bit length as the fatal stop.
// How the whole program starts and ends is in the behaviour suite (tests/behaviour/).
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "app/program_state.h"
#include "app/start.h"
#include "text/text.h"

namespace {

[[noreturn]] void text_too_long()
{
    install_memory_handler();
    const Text half(std::string(std::size_t{1} << 30, 'x'));
    (void)join_texts(half, half);
    std::_Exit(98);
}

} // namespace

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
