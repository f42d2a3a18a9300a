// The behaviour suite runs from a copy of itself in a program directory of its own
// (support/relocate.h); a child process started by a test runs one scenario instead.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "behaviour/driver.h"
#include "behaviour/scenarios.h"
#include "support/child_process.h"
#include "support/relocate.h"

int main(int argc, char** argv)
{
    const std::string scenario = child_scenario(argc, argv);
    if (!scenario.empty()) {
        // Ends before the test's own static objects (the toolkit's application) go.
        const int status = run_scenario(scenario);
        std::fflush(nullptr);
        std::_Exit(status);
    }
    if (!relocated::active())
        return relocated::run_copy(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    driver::start_toolkit();
    const int status = RUN_ALL_TESTS();
    std::fflush(nullptr);
    std::_Exit(status); // as above: fetch threads left waiting and the toolkit are not torn down
}
