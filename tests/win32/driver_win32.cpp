// The behaviour driver on the Win32 front-end: messages posted to the real controls
// and handled by the window's own loop, as a person's input would be.
#include <windows.h>

#include <map>

#include "app/win32/window.h"
#include "behaviour/driver.h"

namespace {

std::map<UINT_PTR, std::function<void()>> timers;

void CALLBACK run_timer(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    const auto found = timers.find(id);
    if (found == timers.end())
        return;
    const std::function<void()> callback = std::move(found->second);
    timers.erase(found);
    callback();
}

BOOL CALLBACK remember_box(HWND candidate, LPARAM found)
{
    char type[16] = {};
    GetClassNameA(candidate, type, sizeof type);
    if (std::string_view(type) == "#32770" && IsWindowVisible(candidate)) {
        *reinterpret_cast<HWND*>(found) = candidate;
        return FALSE;
    }
    return TRUE;
}

// A message box of this thread, while one is open.
HWND open_box()
{
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), remember_box, reinterpret_cast<LPARAM>(&box));
    return box;
}

BOOL CALLBACK remember_text(HWND child, LPARAM found)
{
    char type[16] = {};
    GetClassNameA(child, type, sizeof type);
    char text[1024] = {};
    GetWindowTextA(child, text, sizeof text);
    if (std::string_view(type) == "Static" && text[0] != '\0')
        *reinterpret_cast<std::string*>(found) = text;
    return TRUE;
}

WPARAM virtual_key(Key key)
{
    switch (key) {
    case Key::enter: return VK_RETURN;
    case Key::keypad_enter: return VK_RETURN;
    case Key::tab: return VK_TAB;
    case Key::shift_tab: return VK_TAB;
    case Key::space: return VK_SPACE;
    case Key::escape: return VK_ESCAPE;
    case Key::f1: return VK_F1;
    case Key::letter_y: return 'Y';
    case Key::letter_n: return 'N';
    }
    return 0;
}

void set_shift(bool down)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

} // namespace

namespace driver {

void start_toolkit() {}

bool load(const WindowEvents& events)
{
    if (!load_main_window(events))
        return false;
    process_pending_messages();
    return true;
}

bool window_open()
{
    return main_window_handle() != nullptr;
}

void click(Control control)
{
    if (const HWND button = control_handle(control)) {
        PostMessageA(button, BM_CLICK, 0, 0);
        process_pending_messages();
    }
}

void key(Key key)
{
    // A window that is not in the foreground (a child process's) has no focus;
    // its keys then go to the frame, through the same keyboard rules.
    const HWND target = GetFocus() != nullptr ? GetFocus() : main_window_handle();
    if (target == nullptr)
        return;
    const WPARAM code = virtual_key(key);
    // The keypad's Enter is the same key code with the extended-key bit.
    const LPARAM extended = key == Key::keypad_enter ? (1 << 24) : 0;
    if (key == Key::shift_tab)
        set_shift(true);
    PostMessageA(target, WM_KEYDOWN, code, 1 | extended);
    if (key == Key::letter_y || key == Key::letter_n)
        PostMessageA(target, WM_CHAR, code + ('a' - 'A'), 1);
    PostMessageA(target, WM_KEYUP, code, 0xC0000001 | extended);
    if (open_box() == nullptr)
        process_pending_messages();
    if (key == Key::shift_tab)
        set_shift(false);
}

void focus(Control control)
{
    SetFocus(control_handle(control));
    process_pending_messages();
}

std::optional<Control> focused()
{
    for (Control control : {Control::透明标签1, Control::按钮2, Control::编辑框1, Control::按钮1})
        if (control_handle(control) != nullptr && GetFocus() == control_handle(control))
            return control;
    return std::nullopt;
}

void close_button()
{
    if (main_window_handle() != nullptr) {
        PostMessageA(main_window_handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        process_pending_messages();
    }
}

void pump()
{
    process_pending_messages();
}

bool pump_until(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        process_pending_messages();
    }
    return true;
}

std::string question_text()
{
    std::string text;
    if (const HWND box = open_box())
        EnumChildWindows(box, remember_text, reinterpret_cast<LPARAM>(&text));
    return text;
}

bool question_defaults_to_no()
{
    const HWND box = open_box();
    if (box == nullptr)
        return false;
    const HWND no = GetDlgItem(box, IDNO);
    return no != nullptr && (GetWindowLongA(no, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
}

void click_question(bool yes)
{
    if (const HWND box = open_box())
        if (const HWND button = GetDlgItem(box, yes ? IDYES : IDNO))
            PostMessageA(button, BM_CLICK, 0, 0);
}

bool busy_cursor_shown()
{
    const HWND frame = main_window_handle();
    if (frame == nullptr)
        return false;
    const HCURSOR busy = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_APPSTARTING));
    SendMessageA(frame, WM_SETCURSOR, reinterpret_cast<WPARAM>(frame), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor() == busy;
}

void call_later(std::chrono::milliseconds delay, std::function<void()> callback)
{
    const UINT_PTR id = SetTimer(nullptr, 0, static_cast<UINT>(delay.count()), run_timer);
    timers[id] = std::move(callback);
}

void dismiss_fatal_box_later()
{
    call_later(std::chrono::milliseconds(100), [] {
        if (const HWND box = open_box())
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        dismiss_fatal_box_later();
    });
}

} // namespace driver
