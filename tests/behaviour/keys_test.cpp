// The window's keyboard rules: which key, on which focused control, clicks which
// button, moves the focus or closes the window.
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "behaviour/driver.h"

namespace {

int generate_clicks = 0;
int export_clicks = 0;
int created_calls = 0;
bool shown_when_created = true;

void record_created()
{
    ++created_calls;
    shown_when_created = driver::focused().has_value();
}
void record_generate() { ++generate_clicks; }
void record_export() { ++export_clicks; }

const WindowEvents recording{record_created, record_generate, record_export, nullptr};

struct KeyRow {
    const char* name;
    Control focused;
    Key key;
    int generate;
    int exported;
    std::optional<Control> focus_after; // nullopt: the window is closed
};

const KeyRow key_rows[] = {
    {"Tab 按钮1", Control::按钮1, Key::tab, 0, 0, Control::编辑框1},
    {"Tab 编辑框1", Control::编辑框1, Key::tab, 0, 0, Control::按钮2},
    {"Tab 按钮2", Control::按钮2, Key::tab, 0, 0, Control::按钮1},
    {"Shift+Tab 按钮1", Control::按钮1, Key::shift_tab, 0, 0, Control::按钮2},
    {"Shift+Tab 编辑框1", Control::编辑框1, Key::shift_tab, 0, 0, Control::按钮1},
    {"Enter 按钮1", Control::按钮1, Key::enter, 1, 0, Control::按钮1},
    {"Enter 按钮2", Control::按钮2, Key::enter, 1, 0, Control::按钮2},
    {"Enter 编辑框1", Control::编辑框1, Key::enter, 1, 0, Control::编辑框1},
    {"keypad Enter 按钮2", Control::按钮2, Key::keypad_enter, 1, 0, Control::按钮2},
    {"Space 按钮1", Control::按钮1, Key::space, 1, 0, Control::按钮1},
    {"Space 按钮2", Control::按钮2, Key::space, 0, 1, Control::按钮2},
    {"F1 按钮1", Control::按钮1, Key::f1, 0, 0, Control::按钮1},
    {"F1 编辑框1", Control::编辑框1, Key::f1, 0, 0, Control::编辑框1},
    {"Esc 按钮1", Control::按钮1, Key::escape, 0, 0, std::nullopt},
    {"Esc 编辑框1", Control::编辑框1, Key::escape, 0, 0, std::nullopt},
};

} // namespace

TEST(Keys, CreatedEventRunsOnceBeforeTheWindowIsShown)
{
    created_calls = 0;
    ASSERT_TRUE(driver::load(recording));
    EXPECT_EQ(created_calls, 1);
    EXPECT_FALSE(shown_when_created);
    EXPECT_EQ(driver::focused(), Control::按钮1);
    driver::close_button();
    EXPECT_TRUE(driver::pump_until([] { return !driver::window_open(); }));
}

TEST(Keys, EachKeyOnEachControl)
{
    for (const KeyRow& row : key_rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(driver::load(recording));
        generate_clicks = export_clicks = 0;
        write_control_text(Control::编辑框1, "page");
        driver::focus(row.focused);
        ASSERT_EQ(driver::focused(), row.focused);
        driver::key(row.key);
        driver::pump();
        EXPECT_EQ(generate_clicks, row.generate);
        EXPECT_EQ(export_clicks, row.exported);
        if (!row.focus_after) {
            EXPECT_TRUE(driver::pump_until([] { return !driver::window_open(); }));
            continue;
        }
        EXPECT_EQ(driver::focused(), row.focus_after);
        EXPECT_EQ(read_control_text(Control::编辑框1).view(), "page"); // nothing typed into the box
        driver::close_button();
        EXPECT_TRUE(driver::pump_until([] { return !driver::window_open(); }));
    }
}
