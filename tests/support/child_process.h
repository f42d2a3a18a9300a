// Runs this test program again as a child process for one scenario, so that a test
// can watch how the whole program starts and ends.
#pragma once

#include <chrono>
#include <string>

struct ChildOutcome {
    bool finished = false; // false: still running at the limit, and killed
    int status = -2;       // the exit status as the platform reports it
};

// The exit status of the fatal stop's -1: 255 on POSIX, the process exit code on Windows.
#if defined(_WIN32)
inline constexpr int fatal_exit_status = -1;
#else
inline constexpr int fatal_exit_status = 255;
#endif

// Starts this program with "--child=<scenario>" and waits for it at most limit.
ChildOutcome run_child(const std::string& scenario, std::chrono::milliseconds limit);

// The scenario named on the command line, "" when this is not a child.
std::string child_scenario(int argc, char** argv);

// Milliseconds of the wall clock, comparable between processes.
long long wall_clock_ms();
