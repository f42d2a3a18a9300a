// The main window's contract. A front-end (app/qt/, app/win32/) implements these;
// the handlers reach the controls only through read_control_text/write_control_text.
#pragma once

#include <chrono>
#include <functional>
#include <string_view>

#include "text/text.h"

// The controls, in the window's listing order.
enum class Control { 透明标签1, 按钮2, 编辑框1, 按钮1 };

struct WindowEvents {
    void (*created)() = nullptr;
    void (*generate_click)() = nullptr; // 按钮1
    void (*export_click)() = nullptr;   // 按钮2
    // A person asks to close the window (Esc, close button, window menu, Alt+F4),
    // also while an earlier request's question is open; false keeps it open.
    // Without it every such request closes the window.
    bool (*close_requested)() = nullptr;
};

// Creates the window hidden, runs events.created, then shows it with 按钮1 focused.
// False when the window cannot be created.
bool load_main_window(const WindowEvents& events);

// Runs the message loop until the window is closed.
void run_message_loop();

// Exactly the bytes last written to the control (its initial text before that).
Text read_control_text(Control control);

// Replaces the control's whole text; the caller keeps its value.
void write_control_text(Control control, std::string_view text);

// An error box with no owner window, for the fatal stop.
void show_fatal_box(std::string_view message);

// Runs job off the window's thread, never behind another job, so that the window goes
// on while it waits; then done with its result on the window's thread. done never runs once the window is gone.
void run_off_window_thread(std::function<Text()> job, std::function<void(Text)> done);

// Runs callback once on the window's thread after the delay, unless the window is gone.
void call_after(std::chrono::milliseconds delay, std::function<void()> callback);

// The busy-but-usable cursor over the window while busy, the ordinary one otherwise.
void show_busy_cursor(bool busy);

// A question box owned by the window and captioned like it, with the buttons
// 是(Y) and 否(N), 否 the default; true when the answer is yes.
bool ask_yes_no(std::string_view question);
