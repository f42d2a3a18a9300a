// What the main window looks like in pixels, measured from the outside with plain
// Win32 calls, and a text form of it so that a child process can report its own.
#pragma once

#include <windows.h>

#include <string>

// The controls in listing order: 透明标签1, 按钮2, 编辑框1, 按钮1.
constexpr int control_count = 4;

struct WindowLayout {
    int dpi = 0;        // GetDpiForWindow
    int system_dpi = 0; // the screen's LOGPIXELSY
    SIZE screen{};
    RECT frame{}; // screen coordinates
    SIZE client{};
    RECT borders{}; // AdjustWindowRectExForDpi around an empty client area at dpi
    RECT controls[control_count]{}; // client coordinates
    bool one_font = false;          // all four controls have the same font
    LONG font_height = 0;
    std::string font_face;
    SIZE widest_label_text{}; // the widest of the label's texts, on one line, in its font
    SIZE label_visible{};     // the part of the label inside the client area
    SIZE fallback_frame{};    // frame_size at dpi without the per-DPI user32 functions
    int fallback_dpi = 0;     // window_dpi without them
};

// The current main window; false when there is none.
bool measure_main_window(WindowLayout& layout);

std::string layout_text(const WindowLayout& layout);
bool read_layout_text(const std::string& text, WindowLayout& layout);

// The window handles WM_DPICHANGED as if moved to a screen of dpi: the frame is
// offered its own top-left corner and frame_size at dpi. Returns the offered rectangle.
RECT send_dpi_change(int dpi);
