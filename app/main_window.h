// The main window's contract. A front-end (app/qt/ on Linux) implements these;
// the handlers reach the controls only through read_control_text/write_control_text.
#pragma once

#include <string_view>

#include "text/text.h"

// The controls, in the window's listing order.
enum class Control { 透明标签1, 按钮2, 编辑框1, 按钮1 };

struct WindowEvents {
    void (*created)() = nullptr;
    void (*generate_click)() = nullptr; // 按钮1
    void (*export_click)() = nullptr;   // 按钮2
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
