// The Win32 front-end's window, for the front-end itself and its tests.
#pragma once

#include <windows.h>

#include "app/main_window.h"

// The main window and its controls while they exist, else nullptr.
HWND main_window_handle();
HWND control_handle(Control control);

// Handles the messages already queued, through the window's keyboard rules.
void process_pending_messages();
