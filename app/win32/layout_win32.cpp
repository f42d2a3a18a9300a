#include "app/win32/layout.h"

#include <commctrl.h>

#include <vector>

#include "app/win32/window.h"

namespace {

constexpr int base_frame_width = 305;
constexpr int base_frame_height = 419;

struct ControlPlace {
    Control control;
    Box box;
};

// Each control's place at 96 DPI, in the frame's client area.
constexpr ControlPlace base_places[] = {
    {Control::透明标签1, {0, 0, 304, 32}},
    {Control::按钮2, {8, 80, 280, 40}},
    {Control::编辑框1, {5, 128, 280, 256}},
    {Control::按钮1, {8, 32, 280, 40}},
};

struct DpiFont {
    int dpi;
    HFONT font;
};

std::vector<DpiFont> made_fonts;

template <typename Function>
Function user32_function(const char* name)
{
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    if (user32 == nullptr)
        return nullptr;
    // Through void(*)(), which GCC accepts as a cast between unrelated function types.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(user32, name)));
}

// The DPI the desktop was set to when the session began; what a process that knows
// no DPI per window draws at, and what the stock fonts are made for.
int system_dpi()
{
    const HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : base_dpi;
}

// The borders and caption around an empty client area at dpi. Without the per-DPI
// function Windows gives them at the system DPI only, so other DPIs are scaled from it.
RECT frame_borders(DWORD style, DWORD extended_style, int dpi, const DpiFunctions& functions)
{
    RECT borders{0, 0, 0, 0};
    if (functions.adjust_window_rect_for_dpi != nullptr &&
        functions.adjust_window_rect_for_dpi(&borders, style, FALSE, extended_style, dpi))
        return borders;
    borders = RECT{0, 0, 0, 0};
    AdjustWindowRectEx(&borders, style, FALSE, extended_style);
    const int system = system_dpi();
    if (dpi != system)
        borders = RECT{MulDiv(borders.left, dpi, system), MulDiv(borders.top, dpi, system),
                       MulDiv(borders.right, dpi, system), MulDiv(borders.bottom, dpi, system)};
    return borders;
}

} // namespace

const DpiFunctions& user32_dpi_functions()
{
    static const DpiFunctions found{
        user32_function<UINT(WINAPI*)(HWND)>("GetDpiForWindow"),
        user32_function<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi"),
    };
    return found;
}

int scale_to_dpi(int pixels, int dpi)
{
    return MulDiv(pixels, dpi, base_dpi);
}

Box control_box(Control control, int dpi)
{
    for (const ControlPlace& place : base_places)
        if (place.control == control)
            return Box{scale_to_dpi(place.box.left, dpi), scale_to_dpi(place.box.top, dpi),
                       scale_to_dpi(place.box.width, dpi), scale_to_dpi(place.box.height, dpi)};
    return Box{};
}

int window_dpi(HWND window, const DpiFunctions& functions)
{
    const UINT dpi = functions.dpi_for_window != nullptr ? functions.dpi_for_window(window) : 0;
    return dpi != 0 ? static_cast<int>(dpi) : system_dpi();
}

SIZE frame_size(DWORD style, DWORD extended_style, int dpi, const DpiFunctions& functions)
{
    const RECT base = frame_borders(style, extended_style, base_dpi, functions);
    const RECT scaled = frame_borders(style, extended_style, dpi, functions);
    const int client_width = base_frame_width - (base.right - base.left);
    const int client_height = base_frame_height - (base.bottom - base.top);
    return SIZE{scale_to_dpi(client_width, dpi) + (scaled.right - scaled.left),
                scale_to_dpi(client_height, dpi) + (scaled.bottom - scaled.top)};
}

HFONT gui_font(int dpi)
{
    for (const DpiFont& made : made_fonts)
        if (made.dpi == dpi)
            return made.font;
    LOGFONTA face{};
    if (GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof face, &face) != sizeof face)
        return nullptr;
    const int system = system_dpi();
    face.lfHeight = MulDiv(face.lfHeight, dpi, system);
    face.lfWidth = MulDiv(face.lfWidth, dpi, system);
    const HFONT font = CreateFontIndirectA(&face);
    if (font != nullptr)
        made_fonts.push_back(DpiFont{dpi, font});
    return font;
}

bool place_frame(HWND frame)
{
    const int dpi = window_dpi(frame);
    const SIZE size = frame_size(static_cast<DWORD>(GetWindowLongA(frame, GWL_STYLE)),
                                 static_cast<DWORD>(GetWindowLongA(frame, GWL_EXSTYLE)), dpi);
    MONITORINFO screen{};
    screen.cbSize = sizeof screen;
    if (!GetMonitorInfoA(MonitorFromWindow(frame, MONITOR_DEFAULTTOPRIMARY), &screen))
        return false;
    const RECT& area = screen.rcMonitor;
    const int left = area.left + (area.right - area.left - size.cx) / 2;
    const int top = area.top + (area.bottom - area.top - size.cy) / 2;
    return SetWindowPos(frame, nullptr, left, top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE) != 0;
}

bool lay_out_controls(int dpi)
{
    const HFONT font = gui_font(dpi);
    bool laid_out = font != nullptr;
    for (const ControlPlace& place : base_places) {
        const HWND control = control_handle(place.control);
        if (control == nullptr) {
            laid_out = false;
            continue;
        }
        const Box box = control_box(place.control, dpi);
        laid_out = SetWindowPos(control, nullptr, box.left, box.top, box.width, box.height,
                                SWP_NOZORDER | SWP_NOACTIVATE) != 0 && laid_out;
        if (font != nullptr)
            SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    return laid_out;
}

void follow_dpi_change(HWND frame, int dpi, const RECT& suggested)
{
    SetWindowPos(frame, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    lay_out_controls(dpi);
    // The label is transparent: the background under its old place must be redrawn.
    InvalidateRect(frame, nullptr, TRUE);
}

bool prepare_common_controls()
{
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof classes;
    classes.dwICC = ICC_STANDARD_CLASSES;
    return InitCommonControlsEx(&classes) != FALSE;
}
