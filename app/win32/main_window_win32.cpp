// The main window on plain Win32, with the ANSI (GBK) APIs. The window keeps the
// exact bytes last written to each control and hands them back byte for byte.
#include <windows.h>

#include <string>

#include "app/main_window.h"
#include "app/win32/window.h"
#include "text/program_texts.h"

namespace {

constexpr int outer_width = 305;
constexpr int outer_height = 419;
constexpr int icon_resource = 1;
const char* const window_class = "vqgen_main_window";

struct Window {
    HWND frame = nullptr;
    HWND label = nullptr;   // 透明标签1
    HWND export_button = nullptr; // 按钮2
    HWND edit = nullptr;    // 编辑框1
    HWND generate_button = nullptr; // 按钮1
    std::string label_bytes{gbk::label_initial};
    std::string edit_bytes;
    WindowEvents events;
    HBRUSH white = nullptr;
};

Window window;

enum ControlId { label_id = 101, export_id = 102, edit_id = 103, generate_id = 104 };

LRESULT CALLBACK window_procedure(HWND frame, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wparam) == BN_CLICKED && LOWORD(wparam) == generate_id && window.events.generate_click)
            window.events.generate_click();
        else if (HIWORD(wparam) == BN_CLICKED && LOWORD(wparam) == export_id && window.events.export_click)
            window.events.export_click();
        return 0;
    case WM_CTLCOLORSTATIC: {
        const HDC dc = reinterpret_cast<HDC>(wparam);
        if (reinterpret_cast<HWND>(lparam) == window.edit) { // a read-only edit asks here too
            SetBkColor(dc, RGB(255, 255, 255));
            SetTextColor(dc, RGB(0, 0, 0));
            return reinterpret_cast<LRESULT>(window.white);
        }
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    case WM_CLOSE:
        DestroyWindow(frame);
        return 0;
    case WM_DESTROY:
        window.frame = window.label = window.export_button = window.edit = window.generate_button = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(frame, message, wparam, lparam);
    }
}

HWND make_control(DWORD extended, const char* type, std::string_view text, DWORD style, RECT place, int id)
{
    const std::string caption(text);
    HWND control = CreateWindowExA(extended, type, caption.c_str(), WS_CHILD | WS_VISIBLE | style, place.left,
                                   place.top, place.right, place.bottom, window.frame,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    if (control != nullptr)
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    return control;
}

bool register_class()
{
    WNDCLASSEXA type{};
    type.cbSize = sizeof type;
    type.lpfnWndProc = window_procedure;
    type.hInstance = GetModuleHandleA(nullptr);
    type.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    type.lpszClassName = window_class;
    type.hIcon = static_cast<HICON>(LoadImageA(type.hInstance, MAKEINTRESOURCEA(icon_resource), IMAGE_ICON, 128, 128, 0));
    type.hIconSm = type.hIcon;
    return RegisterClassExA(&type) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// Created in listing order: the label, 按钮2, the page view, 按钮1.
bool make_controls()
{
    window.label = make_control(WS_EX_TRANSPARENT, "STATIC", gbk::label_initial,
                                SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, {0, 0, 304, 32}, label_id);
    window.export_button = make_control(0, "BUTTON", gbk::export_button_caption,
                                        BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP, {8, 80, 280, 40}, export_id);
    window.edit = make_control(WS_EX_CLIENTEDGE, "EDIT", "",
                               ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
                               {5, 128, 280, 256}, edit_id);
    window.generate_button = make_control(0, "BUTTON", gbk::generate_button_caption,
                                          BS_DEFPUSHBUTTON | BS_MULTILINE | WS_TABSTOP, {8, 32, 280, 40}, generate_id);
    if (window.edit != nullptr)
        SendMessageA(window.edit, EM_SETLIMITTEXT, 0, 0); // no limit of its own
    return window.label && window.export_button && window.edit && window.generate_button;
}

// Tab order: 按钮1, 编辑框1, 按钮2, and round again.
void move_focus(int step)
{
    const HWND order[] = {window.generate_button, window.edit, window.export_button};
    int current = 0;
    for (int i = 0; i < 3; ++i)
        if (GetFocus() == order[i])
            current = i;
    SetFocus(order[(current + step + 3) % 3]);
}

// The window's keyboard rules, ahead of the focused control; true when the key was taken.
bool handle_key(const MSG& message)
{
    if (message.message != WM_KEYDOWN || window.frame == nullptr)
        return false;
    switch (message.wParam) {
    case VK_TAB:
        move_focus(GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
        return true;
    case VK_RETURN:
        SendMessageA(window.frame, WM_COMMAND, MAKEWPARAM(generate_id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(window.generate_button));
        return true;
    case VK_ESCAPE:
        SendMessageA(window.frame, WM_CLOSE, 0, 0);
        return true;
    case VK_F1:
        return true;
    default:
        return false;
    }
}

void dispatch(const MSG& message)
{
    if (handle_key(message))
        return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

} // namespace

HWND main_window_handle()
{
    return window.frame;
}

HWND control_handle(Control control)
{
    switch (control) {
    case Control::透明标签1: return window.label;
    case Control::按钮2: return window.export_button;
    case Control::编辑框1: return window.edit;
    case Control::按钮1: return window.generate_button;
    }
    return nullptr;
}

void process_pending_messages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            return;
        dispatch(message);
    }
}

bool load_main_window(const WindowEvents& events)
{
    if (!register_class())
        return false;
    window = Window{};
    window.events = events;
    window.white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    const int left = (GetSystemMetrics(SM_CXSCREEN) - outer_width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - outer_height) / 2;
    std::string caption = std::string(gbk::caption_prefix) + std::string(gbk::caption_attribution);
    window.frame = CreateWindowExA(0, window_class, caption.c_str(), WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, left,
                                   top, outer_width, outer_height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (window.frame == nullptr || !make_controls())
        return false;
    events.created();
    ShowWindow(window.frame, SW_SHOWNORMAL);
    SetForegroundWindow(window.frame);
    SetFocus(window.generate_button);
    return true;
}

void run_message_loop()
{
    if (window.frame == nullptr)
        return;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        dispatch(message);
}

Text read_control_text(Control control)
{
    switch (control) {
    case Control::透明标签1: return Text(window.label_bytes);
    case Control::编辑框1: return Text(window.edit_bytes);
    case Control::按钮1: return Text(std::string_view(gbk::generate_button_caption));
    case Control::按钮2: return Text(std::string_view(gbk::export_button_caption));
    }
    return Text();
}

void write_control_text(Control control, std::string_view text)
{
    if (control == Control::编辑框1 && window.edit != nullptr) {
        window.edit_bytes.assign(text);
        SetWindowTextA(window.edit, window.edit_bytes.c_str());
        SendMessageA(window.edit, EM_SETSEL, 0, 0);
        SendMessageA(window.edit, EM_SCROLLCARET, 0, 0);
        SendMessageA(window.edit, WM_VSCROLL, SB_TOP, 0);
    } else if (control == Control::透明标签1 && window.label != nullptr) {
        window.label_bytes.assign(text);
        // Repaint the window's background under the label first, so nothing of a
        // longer earlier text remains.
        RECT place;
        GetWindowRect(window.label, &place);
        MapWindowPoints(nullptr, window.frame, reinterpret_cast<POINT*>(&place), 2);
        InvalidateRect(window.frame, &place, TRUE);
        SetWindowTextA(window.label, window.label_bytes.c_str());
        UpdateWindow(window.frame);
    }
}

void show_fatal_box(std::string_view message)
{
    const std::string text(message);
    MessageBoxA(nullptr, text.c_str(), "vqgen", MB_OK | MB_ICONERROR);
}
