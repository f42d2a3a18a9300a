// What a behaviour test does to the main window, whichever front-end shows it.
// One implementation per front-end: tests/qt/driver_qt.cpp, tests/win32/driver_win32.cpp.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "app/main_window.h"

enum class Key { enter, keypad_enter, tab, shift_tab, space, escape, f1, letter_y, letter_n };

namespace driver {

// The toolkit's application object for this process, before any window.
void start_toolkit();

// Loads the window with the events and waits until it is shown and focused.
bool load(const WindowEvents& events);

bool window_open();

// A mouse click on a button of the main window.
void click(Control control);

// A key press on the focused control of the main window or, when one is open, of
// the question box.
void key(Key key);

void focus(Control control);
std::optional<Control> focused();

// The title bar's close button.
void close_button();

// Runs the events already waiting.
void pump();

// Runs events until done() holds or the time is up; false when it is up.
bool pump_until(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(20));

// The open question box's text as GBK bytes, and its default button; "" when none is open.
std::string question_text();
bool question_defaults_to_no();

// A mouse click on the question box's yes or no button.
void click_question(bool yes);

// The cursor the window shows over its client area is the busy-but-usable one.
bool busy_cursor_shown();

// Calls back on the window's thread after the delay, with or without a window
// (for child processes that run the whole program).
void call_later(std::chrono::milliseconds delay, std::function<void()> callback);

// Dismisses the error box of the fatal stop when it shows (Win32 shows one; the
// offscreen Qt platform writes it to stderr).
void dismiss_fatal_box_later();

} // namespace driver
