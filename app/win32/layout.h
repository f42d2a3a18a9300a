// Where the main window and its controls sit at a DPI, and the font they use there.
// At 96 DPI every place is the window's original one; at other DPIs the same, scaled.
#pragma once

#include <windows.h>

#include "app/main_window.h"

// The user32 functions that know a DPI per window (Windows 10 1607 and later);
// nullptr where this Windows lacks them.
struct DpiFunctions {
    UINT(WINAPI* dpi_for_window)(HWND) = nullptr;
    BOOL(WINAPI* adjust_window_rect_for_dpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
};

// Looked up in user32 at run time, so that the program still starts on Windows 7.
const DpiFunctions& user32_dpi_functions();

constexpr int base_dpi = 96;

struct Box {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// A length in 96-DPI pixels at dpi, rounded to the nearest pixel.
int scale_to_dpi(int pixels, int dpi);

// The control's place in the frame's client area at dpi.
Box control_box(Control control, int dpi);

// The DPI the window is drawn at; the system DPI where Windows knows none per window.
int window_dpi(HWND window, const DpiFunctions& functions = user32_dpi_functions());

// The frame's outer size at dpi: 305 x 419 at 96 DPI; at another DPI the 96-DPI
// client area scaled, plus the frame's borders and caption at that DPI.
SIZE frame_size(DWORD style, DWORD extended_style, int dpi,
                const DpiFunctions& functions = user32_dpi_functions());

// The default GUI font's face and size, drawn at dpi. Made once per DPI and kept for
// the process, as a stock font is; nullptr when it cannot be made.
HFONT gui_font(int dpi);

// Sizes the frame for its DPI and centres it on the screen that holds it.
bool place_frame(HWND frame);

// Places the four controls for dpi and gives them gui_font(dpi); false when a
// control or the font is missing.
bool lay_out_controls(int dpi);

// WM_DPICHANGED: the frame takes the rectangle Windows suggests for the new DPI and
// the controls and their font follow.
void follow_dpi_change(HWND frame, int dpi, const RECT& suggested);

// Registers the version-6 common controls the manifest asks for; false where only
// the classic ones exist, which then serve.
bool prepare_common_controls();
