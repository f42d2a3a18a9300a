// The Win32 window in-process (under Wine when cross-built): real controls, keys
// posted to the focused control and handled through the window's own message loop.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/main_window.h"
#include "app/win32/window.h"
#include "text/program_texts.h"

namespace {

int generate_clicks = 0;
int export_clicks = 0;
int created_calls = 0;
bool visible_when_created = true;

void record_created()
{
    ++created_calls;
    visible_when_created = main_window_handle() && IsWindowVisible(main_window_handle());
}
void record_generate() { ++generate_clicks; }
void record_export() { ++export_clicks; }

class Win32Window : public testing::Test {
protected:
    void SetUp() override
    {
        generate_clicks = export_clicks = created_calls = 0;
        ASSERT_TRUE(load_main_window(WindowEvents{record_created, record_generate, record_export}));
        process_pending_messages();
    }
    void TearDown() override
    {
        if (main_window_handle())
            DestroyWindow(main_window_handle());
        process_pending_messages();
    }

    static void press(WPARAM key, bool shift = false)
    {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        const HWND focused = GetFocus();
        PostMessageA(focused, WM_KEYDOWN, key, 1);
        PostMessageA(focused, WM_KEYUP, key, 0xC0000001);
        process_pending_messages();
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
    }
};

} // namespace

TEST_F(Win32Window, CreatedOnceBeforeShowAndUpperButtonFocused)
{
    EXPECT_EQ(created_calls, 1);
    EXPECT_FALSE(visible_when_created);
    EXPECT_TRUE(IsWindowVisible(main_window_handle()));
    EXPECT_EQ(GetFocus(), control_handle(Control::按钮1));
}

TEST_F(Win32Window, Keys)
{
    struct Row {
        const char* name;
        Control focused;
        WPARAM key;
        bool shift;
        int generate;
        int exported;
        Control focus_after;
        bool closes;
    };
    const Row rows[] = {
        {"Tab 按钮1", Control::按钮1, VK_TAB, false, 0, 0, Control::编辑框1, false},
        {"Tab 编辑框1", Control::编辑框1, VK_TAB, false, 0, 0, Control::按钮2, false},
        {"Tab 按钮2", Control::按钮2, VK_TAB, false, 0, 0, Control::按钮1, false},
        {"Shift+Tab 按钮1", Control::按钮1, VK_TAB, true, 0, 0, Control::按钮2, false},
        {"Enter 按钮2", Control::按钮2, VK_RETURN, false, 1, 0, Control::按钮2, false},
        {"Enter 编辑框1", Control::编辑框1, VK_RETURN, false, 1, 0, Control::编辑框1, false},
        {"Space 按钮2", Control::按钮2, VK_SPACE, false, 0, 1, Control::按钮2, false},
        {"Space 按钮1", Control::按钮1, VK_SPACE, false, 1, 0, Control::按钮1, false},
        {"F1 按钮1", Control::按钮1, VK_F1, false, 0, 0, Control::按钮1, false},
        {"Esc 编辑框1", Control::编辑框1, VK_ESCAPE, false, 0, 0, Control::编辑框1, true},
    };
    for (const Row& row : rows) {
        if (!main_window_handle()) {
            ASSERT_TRUE(load_main_window(WindowEvents{record_created, record_generate, record_export}));
        }
        generate_clicks = export_clicks = 0;
        write_control_text(Control::编辑框1, "page");
        SetFocus(control_handle(row.focused));
        press(row.key, row.shift);
        EXPECT_EQ(generate_clicks, row.generate) << row.name;
        EXPECT_EQ(export_clicks, row.exported) << row.name;
        if (row.closes) {
            EXPECT_EQ(main_window_handle(), nullptr) << row.name;
            continue;
        }
        EXPECT_EQ(GetFocus(), control_handle(row.focused == row.focus_after ? row.focused : row.focus_after)) << row.name;
        EXPECT_EQ(read_control_text(Control::编辑框1).view(), "page") << row.name;
    }
}

TEST_F(Win32Window, RoundTripsKeepEveryByte)
{
    for (const std::string& bytes : {std::string("one\r\ntwo\r\n"), std::string(gbk::label_initial),
                                    std::string("a\x81\x20\xFF"), std::string()}) {
        write_control_text(Control::编辑框1, bytes);
        EXPECT_EQ(read_control_text(Control::编辑框1).view(), bytes);
        DWORD start = 1, end = 1;
        SendMessageA(control_handle(Control::编辑框1), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, 0u);
    }
    write_control_text(Control::编辑框1, "one\r\ntwo");
    char shown[64] = {};
    GetWindowTextA(control_handle(Control::编辑框1), shown, sizeof shown);
    EXPECT_STREQ(shown, "one\r\ntwo");
    EXPECT_EQ(SendMessageA(control_handle(Control::编辑框1), EM_GETLINECOUNT, 0, 0), 2);
    write_control_text(Control::透明标签1, "a much longer status text than the next one");
    write_control_text(Control::透明标签1, "A&B");
    GetWindowTextA(control_handle(Control::透明标签1), shown, sizeof shown);
    EXPECT_STREQ(shown, "A&B");
    EXPECT_EQ(read_control_text(Control::透明标签1).view(), "A&B");
}

TEST_F(Win32Window, FrameLayoutAndCaption)
{
    const HWND frame = main_window_handle();
    char caption[128] = {};
    GetWindowTextA(frame, caption, sizeof caption);
    EXPECT_EQ(std::string_view(caption).substr(0, gbk::caption_prefix.size()), gbk::caption_prefix);
    const LONG style = GetWindowLongA(frame, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    RECT outer;
    GetWindowRect(frame, &outer);
    EXPECT_EQ(outer.right - outer.left, 305);
    EXPECT_EQ(outer.bottom - outer.top, 419);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 305) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 419) / 2);
    struct Place {
        Control control;
        RECT rect;
    };
    for (const Place& p : {Place{Control::透明标签1, {0, 0, 304, 32}}, Place{Control::按钮2, {8, 80, 288, 120}},
                           Place{Control::编辑框1, {5, 128, 285, 384}}, Place{Control::按钮1, {8, 32, 288, 72}}}) {
        RECT r;
        GetWindowRect(control_handle(p.control), &r);
        MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, p.rect.left);
        EXPECT_EQ(r.top, p.rect.top);
        EXPECT_EQ(r.right, p.rect.right);
        EXPECT_EQ(r.bottom, p.rect.bottom);
    }
    EXPECT_TRUE(GetWindowLongA(control_handle(Control::按钮1), GWL_STYLE) & BS_DEFPUSHBUTTON);
    EXPECT_TRUE(GetWindowLongA(control_handle(Control::编辑框1), GWL_STYLE) & ES_READONLY);
}
