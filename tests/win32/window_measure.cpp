#include "win32/window_measure.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string_view>

#include "app/main_window.h"
#include "app/win32/layout.h"
#include "app/win32/window.h"
#include "text/program_texts.h"

namespace {

constexpr Control listing_order[control_count] = {Control::透明标签1, Control::按钮2, Control::编辑框1,
                                                   Control::按钮1};

// Every text the program puts in the label, with the widest count a batch reaches.
SIZE widest_label_text(HWND label, HFONT font)
{
    const std::string status = std::string(gbk::status_prefix) + "10000" + std::string(gbk::status_suffix);
    const std::string_view texts[] = {gbk::label_initial, status, gbk::export_done, gbk::export_failed};
    SIZE widest{0, 0};
    const HDC dc = GetDC(label);
    if (dc == nullptr)
        return widest;
    const HGDIOBJ before = SelectObject(dc, font);
    for (const std::string_view text : texts) {
        SIZE size{0, 0};
        GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
        widest.cx = std::max(widest.cx, size.cx);
        widest.cy = std::max(widest.cy, size.cy);
    }
    SelectObject(dc, before);
    ReleaseDC(label, dc);
    return widest;
}

void put(std::ostringstream& out, const char* key, std::initializer_list<long> values)
{
    out << key;
    for (const long value : values)
        out << ' ' << value;
    out << '\n';
}

} // namespace

bool measure_main_window(WindowLayout& layout)
{
    const HWND frame = main_window_handle();
    if (frame == nullptr)
        return false;
    layout = WindowLayout{};
    layout.dpi = static_cast<int>(GetDpiForWindow(frame));
    const HDC screen = GetDC(nullptr);
    layout.system_dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    layout.screen = SIZE{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    GetWindowRect(frame, &layout.frame);
    RECT client;
    GetClientRect(frame, &client);
    layout.client = SIZE{client.right, client.bottom};
    const DWORD style = static_cast<DWORD>(GetWindowLongA(frame, GWL_STYLE));
    const DWORD extended = static_cast<DWORD>(GetWindowLongA(frame, GWL_EXSTYLE));
    AdjustWindowRectExForDpi(&layout.borders, style, FALSE, extended, static_cast<UINT>(layout.dpi));

    HFONT font = nullptr;
    layout.one_font = true;
    for (int i = 0; i < control_count; ++i) {
        const HWND control = control_handle(listing_order[i]);
        GetWindowRect(control, &layout.controls[i]);
        MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&layout.controls[i]), 2);
        const HFONT own = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
        if (i == 0)
            font = own;
        layout.one_font = layout.one_font && own == font;
    }
    LOGFONTA face{};
    if (font != nullptr && GetObjectA(font, sizeof face, &face) == sizeof face) {
        layout.font_height = face.lfHeight;
        layout.font_face = face.lfFaceName;
    }
    layout.widest_label_text = widest_label_text(control_handle(Control::透明标签1), font);
    const RECT label = layout.controls[0];
    layout.label_visible = SIZE{std::min(label.right, client.right) - std::max(label.left, 0L),
                                std::min(label.bottom, client.bottom) - std::max(label.top, 0L)};
    layout.fallback_frame = frame_size(style, extended, layout.dpi, DpiFunctions{});
    layout.fallback_dpi = window_dpi(frame, DpiFunctions{});
    return true;
}

std::string layout_text(const WindowLayout& layout)
{
    std::ostringstream out;
    put(out, "dpi", {layout.dpi, layout.system_dpi});
    put(out, "screen", {layout.screen.cx, layout.screen.cy});
    put(out, "frame", {layout.frame.left, layout.frame.top, layout.frame.right, layout.frame.bottom});
    put(out, "client", {layout.client.cx, layout.client.cy});
    put(out, "borders", {layout.borders.left, layout.borders.top, layout.borders.right, layout.borders.bottom});
    for (const RECT& r : layout.controls)
        put(out, "control", {r.left, r.top, r.right, r.bottom});
    put(out, "font", {layout.one_font ? 1 : 0, layout.font_height});
    put(out, "label", {layout.widest_label_text.cx, layout.widest_label_text.cy, layout.label_visible.cx,
                       layout.label_visible.cy});
    put(out, "fallback", {layout.fallback_frame.cx, layout.fallback_frame.cy, layout.fallback_dpi});
    out << "face " << layout.font_face << '\n';
    return out.str();
}

bool read_layout_text(const std::string& text, WindowLayout& layout)
{
    layout = WindowLayout{};
    std::istringstream in(text);
    std::string key;
    int controls = 0;
    int keys = 0;
    long one_font = 0;
    while (in >> key) {
        ++keys;
        if (key == "dpi")
            in >> layout.dpi >> layout.system_dpi;
        else if (key == "screen")
            in >> layout.screen.cx >> layout.screen.cy;
        else if (key == "frame")
            in >> layout.frame.left >> layout.frame.top >> layout.frame.right >> layout.frame.bottom;
        else if (key == "client")
            in >> layout.client.cx >> layout.client.cy;
        else if (key == "borders")
            in >> layout.borders.left >> layout.borders.top >> layout.borders.right >> layout.borders.bottom;
        else if (key == "control" && controls < control_count) {
            RECT& r = layout.controls[controls++];
            in >> r.left >> r.top >> r.right >> r.bottom;
        } else if (key == "font") {
            in >> one_font >> layout.font_height;
            layout.one_font = one_font == 1;
        } else if (key == "label")
            in >> layout.widest_label_text.cx >> layout.widest_label_text.cy >> layout.label_visible.cx >>
                layout.label_visible.cy;
        else if (key == "fallback")
            in >> layout.fallback_frame.cx >> layout.fallback_frame.cy >> layout.fallback_dpi;
        else if (key == "face") {
            in >> std::ws;
            std::getline(in, layout.font_face);
        } else
            return false;
        if (in.fail())
            return false;
    }
    return keys == 9 + control_count && controls == control_count;
}

RECT send_dpi_change(int dpi)
{
    const HWND frame = main_window_handle();
    RECT offered{0, 0, 0, 0};
    if (frame == nullptr)
        return offered;
    GetWindowRect(frame, &offered);
    const SIZE size = frame_size(static_cast<DWORD>(GetWindowLongA(frame, GWL_STYLE)),
                                 static_cast<DWORD>(GetWindowLongA(frame, GWL_EXSTYLE)), dpi);
    offered.right = offered.left + size.cx;
    offered.bottom = offered.top + size.cy;
    SendMessageA(frame, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&offered));
    return offered;
}
