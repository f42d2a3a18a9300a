// The main window on plain Win32, with the ANSI (GBK) APIs. The window keeps the
// exact bytes last written to each control and hands them back byte for byte.
#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "app/main_window.h"
#include "app/window_mailbox.h"
#include "app/win32/layout.h"
#include "app/win32/window.h"
#include "text/program_texts.h"

namespace {

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
    // Replies from the fetch's thread; a posted deliver_message wakes the window.
    std::shared_ptr<WindowMailbox> mailbox;
    std::map<UINT_PTR, std::function<void()>> timers;
    UINT_PTR last_timer = 0;
    bool busy = false;
};

Window window;
bool quit_seen = false;

enum ControlId { label_id = 101, export_id = 102, edit_id = 103, generate_id = 104 };
constexpr UINT deliver_message = WM_APP + 1;

void run_timer(HWND frame, UINT_PTR id)
{
    KillTimer(frame, id);
    const auto found = window.timers.find(id);
    if (found == window.timers.end())
        return;
    const std::function<void()> callback = std::move(found->second);
    window.timers.erase(found);
    callback();
}

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
    case WM_CLOSE: // every close a person asks for comes here
        if (window.events.close_requested == nullptr || window.events.close_requested())
            DestroyWindow(frame);
        return 0;
    case WM_SETCURSOR:
        if (window.busy && LOWORD(lparam) == HTCLIENT) {
            SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_APPSTARTING)));
            return TRUE;
        }
        return DefWindowProcA(frame, message, wparam, lparam);
    case WM_TIMER:
        run_timer(frame, wparam);
        return 0;
    case deliver_message:
        if (window.mailbox)
            window.mailbox->deliver();
        return 0;
    case WM_DPICHANGED: // moved to a screen with another scale
        follow_dpi_change(frame, HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
        return 0;
    case WM_DESTROY:
        if (window.mailbox)
            window.mailbox->close();
        window.timers.clear();
        window.frame = window.label = window.export_button = window.edit = window.generate_button = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(frame, message, wparam, lparam);
    }
}

// Placed and given its font by lay_out_controls, for the frame's DPI.
HWND make_control(DWORD extended, const char* type, std::string_view text, DWORD style, int id)
{
    const std::string caption(text);
    return CreateWindowExA(extended, type, caption.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, window.frame,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
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
                                SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, label_id);
    window.export_button = make_control(0, "BUTTON", gbk::export_button_caption,
                                        BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP, export_id);
    window.edit = make_control(WS_EX_CLIENTEDGE, "EDIT", "",
                               ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP, edit_id);
    window.generate_button = make_control(0, "BUTTON", gbk::generate_button_caption,
                                          BS_DEFPUSHBUTTON | BS_MULTILINE | WS_TABSTOP, generate_id);
    if (window.edit != nullptr)
        SendMessageA(window.edit, EM_SETLIMITTEXT, 0, 0); // no limit of its own
    return lay_out_controls(window_dpi(window.frame));
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
        if (message.message == WM_QUIT) {
            quit_seen = true; // for the loop, when this ran inside one of its handlers
            return;
        }
        dispatch(message);
    }
}

bool load_main_window(const WindowEvents& events)
{
    prepare_common_controls(); // where it fails, the classic controls serve
    if (!register_class())
        return false;
    window = Window{};
    window.events = events;
    quit_seen = false;

    window.white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    std::string caption = std::string(gbk::caption_prefix) + std::string(gbk::caption_attribution);
    // Sized and centred by place_frame once the screen it lands on, and so its DPI, is known.
    window.frame = CreateWindowExA(0, window_class, caption.c_str(), WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    if (window.frame == nullptr || !place_frame(window.frame) || !make_controls())
        return false;
    window.mailbox = std::make_shared<WindowMailbox>(
        [frame = window.frame] { PostMessageA(frame, deliver_message, 0, 0); });
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
    while (!quit_seen && GetMessageA(&message, nullptr, 0, 0) > 0)
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

void run_off_window_thread(std::function<Text()> job, std::function<void(Text)> done)
{
    if (window.frame != nullptr)
        run_on_spare_thread(window.mailbox, std::move(job), std::move(done));
}

void call_after(std::chrono::milliseconds delay, std::function<void()> callback)
{
    if (window.frame == nullptr)
        return;
    const UINT_PTR id = ++window.last_timer;
    window.timers[id] = std::move(callback);
    SetTimer(window.frame, id, static_cast<UINT>(delay.count()), nullptr);
}

void show_busy_cursor(bool busy)
{
    window.busy = busy;
    POINT at;
    RECT place;
    if (window.frame == nullptr || !GetCursorPos(&at) || !GetWindowRect(window.frame, &place) || !PtInRect(&place, at))
        return;
    SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(busy ? IDC_APPSTARTING : IDC_ARROW)));
}

bool ask_yes_no(std::string_view question)
{
    if (window.frame == nullptr)
        return false;
    const std::string text(question);
    char caption[256] = {};
    GetWindowTextA(window.frame, caption, sizeof caption);
    return MessageBoxA(window.frame, text.c_str(), caption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}
