// The child processes of the lifecycle tests.
#pragma once

#include <string>

// Runs the named scenario; returns the process's exit status.
int run_scenario(const std::string& name);
