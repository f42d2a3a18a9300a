// Start-up, shutdown and the fatal stop.
#pragma once

#include "app/main_window.h"

// The handlers the window binds: created, 按钮1, 按钮2.
WindowEvents program_events();

// The window's close question: with codes not yet exported, asks whether to close;
// false for a request made while the question is open.
bool confirm_close();

// Prepares the process, loads the main window, runs its loop; returns 0.
int start_program();

// Runs release_program_state if it is registered and has not run yet; true if it ran.
bool run_shutdown_step();

// Registers the shutdown step to run once at process exit.
void register_shutdown_step();

// Error box, shutdown step, exit status -1.
[[noreturn]] void fatal_stop();

// Makes exhausted memory end in the fatal stop.
void install_memory_handler();
