// The Win32 window's own checks, in-process (under Wine when cross-built): real
// controls, byte round trips, frame and layout. The key table and the created event
// are in the behaviour suite (tests/behaviour/).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/main_window.h"
#include "app/win32/window.h"
#include "text/program_texts.h"

namespace {

// These checks are about the window alone: its events do nothing.
void nothing() {}
const WindowEvents no_events{nothing, nothing, nothing, nullptr};

class Win32Window : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(load_main_window(no_events));
        process_pending_messages();
    }
    void TearDown() override
    {
        if (main_window_handle())
            DestroyWindow(main_window_handle());
        process_pending_messages();
    }
};

} // namespace

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
