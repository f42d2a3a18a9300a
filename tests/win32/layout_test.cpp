// The window's pixels at 96 DPI and at 144 DPI, the move between them, and the
// application manifest that makes Windows hand the program its real DPI. This test
// program carries the same resource script as vqgen.exe, so it runs under the same
// manifest; the 144 DPI window is made in a child process started after the desktop's
// LogPixels is set, since Wine reads it once per process.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "app/main_window.h"
#include "app/win32/layout.h"
#include "app/win32/window.h"
#include "win32/window_measure.h"

namespace {

void nothing() {}

std::string own_directory()
{
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string directory(path, length);
    return directory.substr(0, directory.find_last_of('\\') + 1);
}

std::string manifest_of(HMODULE module)
{
    const HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), RT_MANIFEST);
    const HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr)
        return std::string();
    return std::string(static_cast<const char*>(bytes), SizeofResource(module, found));
}

struct RegistryValue {
    bool present = false;
    DWORD type = 0;
    std::string bytes;
};

const char* const desktop_key = "Control Panel\\Desktop";

bool read_log_pixels(RegistryValue& value)
{
    value = RegistryValue{};
    HKEY desktop;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, desktop_key, 0, nullptr, 0, KEY_READ, nullptr, &desktop, nullptr) !=
        ERROR_SUCCESS)
        return false;
    char data[256];
    DWORD size = sizeof data;
    const LONG status = RegQueryValueExA(desktop, "LogPixels", nullptr, &value.type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(desktop);
    if (status == ERROR_FILE_NOT_FOUND)
        return true;
    value.present = status == ERROR_SUCCESS;
    value.bytes.assign(data, value.present ? size : 0);
    return value.present;
}

// An absent value stays absent: Wine then takes 96.
bool write_log_pixels(const RegistryValue& value)
{
    HKEY desktop;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, desktop_key, 0, nullptr, 0, KEY_WRITE, nullptr, &desktop, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const LONG status = value.present
        ? RegSetValueExA(desktop, "LogPixels", 0, value.type, reinterpret_cast<const BYTE*>(value.bytes.data()),
                         static_cast<DWORD>(value.bytes.size()))
        : RegDeleteValueA(desktop, "LogPixels");
    RegCloseKey(desktop);
    return status == ERROR_SUCCESS || (!value.present && status == ERROR_FILE_NOT_FOUND);
}

RegistryValue dword_value(DWORD number)
{
    return RegistryValue{true, REG_DWORD, std::string(reinterpret_cast<const char*>(&number), sizeof number)};
}

struct ProbeRun {
    DWORD exit_code = 1;
    std::string report;
};

// Runs layout_probe, which sits next to this program, and reads back its report.
ProbeRun run_probe(const std::string& arguments)
{
    ProbeRun run;
    char directory[MAX_PATH] = {};
    char report_path[MAX_PATH] = {};
    if (GetTempPathA(sizeof directory, directory) == 0 || GetTempFileNameA(directory, "vql", 0, report_path) == 0)
        return run;
    std::string command = "\"" + own_directory() + "layout_probe.exe\" \"" + report_path + "\" " + arguments;
    STARTUPINFOA start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION process{};
    if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, &process)) {
        if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
            TerminateProcess(process.hProcess, 1);
        GetExitCodeProcess(process.hProcess, &run.exit_code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    std::ifstream in(report_path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    run.report = text.str();
    in.close();
    DeleteFileA(report_path);
    return run;
}

long width(const RECT& r) { return r.right - r.left; }
long height(const RECT& r) { return r.bottom - r.top; }

// Every control's rectangle and the font are base's scaled to dpi, give or take the
// pixel that rounding each edge on its own may cost; the label's texts still fit.
void expect_scaled_controls(const WindowLayout& base, const WindowLayout& got, int dpi, const char* what)
{
    for (int i = 0; i < control_count; ++i) {
        const RECT& b = base.controls[i];
        const RECT& g = got.controls[i];
        const long edges[4][2] = {{b.left, g.left}, {b.top, g.top}, {b.right, g.right}, {b.bottom, g.bottom}};
        for (const auto& edge : edges)
            EXPECT_NEAR(edge[1], MulDiv(edge[0], dpi, 96), 1) << what << ", control " << i;
    }
    EXPECT_TRUE(got.one_font) << what;
    EXPECT_NEAR(got.font_height, MulDiv(base.font_height, dpi, 96), 1) << what;
    EXPECT_EQ(got.font_face, base.font_face) << what;
    EXPECT_GT(got.widest_label_text.cx, 0) << what;
    EXPECT_LE(got.widest_label_text.cx, got.label_visible.cx) << what;
    EXPECT_LE(got.widest_label_text.cy, got.label_visible.cy) << what;
}

class Win32Layout : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(load_main_window(WindowEvents{nothing, nothing, nothing}));
        process_pending_messages();
        ASSERT_TRUE(measure_main_window(base));
    }
    void TearDown() override
    {
        if (main_window_handle())
            DestroyWindow(main_window_handle());
        process_pending_messages();
    }

    WindowLayout base;
};

} // namespace

TEST(Win32Manifest, VqgenExeCarriesIt)
{
    const std::string path = own_directory() + VQGEN_EXE_FROM_TESTS;
    const HMODULE program = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr) << path;
    const std::string manifest = manifest_of(program);
    FreeLibrary(program);
    const char* const needles[] = {
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
        "publicKeyToken=\"6595b64144ccf1df\"",
        ">PerMonitorV2, PerMonitor</dpiAwareness>",
        ">true/pm</dpiAware>",
        "<supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\"/>", // Windows 7
        "<supportedOS Id=\"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}\"/>", // 8
        "<supportedOS Id=\"{1f676c76-80e1-4239-95bb-83d0f6d0da78}\"/>", // 8.1
        "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>", // 10 and 11
        "level=\"asInvoker\"",
    };
    for (const char* needle : needles)
        EXPECT_NE(manifest.find(needle), std::string::npos) << needle;
    EXPECT_EQ(manifest, manifest_of(GetModuleHandleA(nullptr))) << "this test program carries another manifest";
}

TEST(Win32Manifest, MakesTheProcessAwareOfEachScreensDpi)
{
    EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()), DPI_AWARENESS_PER_MONITOR_AWARE);
}

// Only version 6 of the button knows its ideal size; the classic one leaves it unanswered.
TEST_F(Win32Layout, ControlsAreCommonControls6)
{
    EXPECT_TRUE(prepare_common_controls());
    for (const Control button : {Control::按钮1, Control::按钮2}) {
        SIZE ideal{0, 0};
        EXPECT_TRUE(SendMessageA(control_handle(button), BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)));
        EXPECT_GT(ideal.cx, 0);
    }
    ACTCTX_SECTION_KEYED_DATA redirected{};
    redirected.cbSize = sizeof redirected;
    for (const char* type : {"Button", "Edit", "Static"})
        EXPECT_TRUE(FindActCtxSectionStringA(0, nullptr, ACTIVATION_CONTEXT_SECTION_WINDOW_CLASS_REDIRECTION, type,
                                             &redirected))
            << type;
}

TEST_F(Win32Layout, At96DpiEveryPixelIsAsBefore)
{
    ASSERT_EQ(base.dpi, 96);
    EXPECT_EQ(width(base.frame), 305);
    EXPECT_EQ(height(base.frame), 419);
    EXPECT_EQ(base.frame.left, (base.screen.cx - 305) / 2);
    EXPECT_EQ(base.frame.top, (base.screen.cy - 419) / 2);
    const RECT places[control_count] = {{0, 0, 304, 32}, {8, 80, 288, 120}, {5, 128, 285, 384}, {8, 32, 288, 72}};
    for (int i = 0; i < control_count; ++i) {
        EXPECT_EQ(base.controls[i].left, places[i].left) << i;
        EXPECT_EQ(base.controls[i].top, places[i].top) << i;
        EXPECT_EQ(base.controls[i].right, places[i].right) << i;
        EXPECT_EQ(base.controls[i].bottom, places[i].bottom) << i;
    }
    LOGFONTA stock{};
    ASSERT_EQ(GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof stock, &stock), static_cast<int>(sizeof stock));
    EXPECT_TRUE(base.one_font);
    EXPECT_EQ(base.font_height, stock.lfHeight);
    EXPECT_EQ(base.font_face, stock.lfFaceName);
    EXPECT_GT(base.widest_label_text.cx, 0);
    EXPECT_LE(base.widest_label_text.cx, base.label_visible.cx);
    EXPECT_LE(base.widest_label_text.cy, base.label_visible.cy);
    // Without the per-DPI functions of Windows 10 the size is the same.
    EXPECT_EQ(base.fallback_dpi, 96);
    EXPECT_EQ(base.fallback_frame.cx, 305);
    EXPECT_EQ(base.fallback_frame.cy, 419);
}

TEST_F(Win32Layout, MoveTo144DpiAndBack)
{
    const RECT offered = send_dpi_change(144);
    process_pending_messages();
    WindowLayout moved;
    ASSERT_TRUE(measure_main_window(moved));
    EXPECT_EQ(moved.frame.left, offered.left);
    EXPECT_EQ(moved.frame.top, offered.top);
    EXPECT_EQ(moved.frame.right, offered.right);
    EXPECT_EQ(moved.frame.bottom, offered.bottom);
    expect_scaled_controls(base, moved, 144, "moved to 144");

    send_dpi_change(96);
    process_pending_messages();
    WindowLayout back;
    ASSERT_TRUE(measure_main_window(back));
    EXPECT_EQ(layout_text(back), layout_text(base));
}

TEST_F(Win32Layout, At144DpiInAProcessOfItsOwn)
{
    RegistryValue saved;
    ASSERT_TRUE(read_log_pixels(saved));
    const bool set = write_log_pixels(dword_value(144));
    const ProbeRun made = set ? run_probe("") : ProbeRun{};
    const ProbeRun moved = set ? run_probe("96") : ProbeRun{};
    const bool restored = write_log_pixels(saved);
    ASSERT_TRUE(set);
    ASSERT_TRUE(restored);
    RegistryValue after;
    EXPECT_TRUE(read_log_pixels(after));
    EXPECT_EQ(after.present, saved.present);
    EXPECT_EQ(after.bytes, saved.bytes);

    ASSERT_EQ(made.exit_code, 0u);
    WindowLayout high;
    ASSERT_TRUE(read_layout_text(made.report, high)) << made.report;
    EXPECT_EQ(high.dpi, 144);
    EXPECT_EQ(high.system_dpi, 144);
    EXPECT_NEAR(high.client.cx, MulDiv(base.client.cx, 144, 96), 1);
    EXPECT_NEAR(high.client.cy, MulDiv(base.client.cy, 144, 96), 1);
    EXPECT_EQ(width(high.frame), high.client.cx + width(high.borders));
    EXPECT_EQ(height(high.frame), high.client.cy + height(high.borders));
    EXPECT_EQ(high.frame.left, (high.screen.cx - width(high.frame)) / 2);
    EXPECT_EQ(high.frame.top, (high.screen.cy - height(high.frame)) / 2);
    expect_scaled_controls(base, high, 144, "made at 144");
    // Where Windows knows no DPI per window, the system DPI serves. The borders at
    // 96 DPI are then guessed from those at 144, and the frame is off by that guess.
    EXPECT_EQ(high.fallback_dpi, 144);
    const long guess_x = MulDiv(width(high.borders), 96, 144) - (width(base.frame) - base.client.cx);
    const long guess_y = MulDiv(height(high.borders), 96, 144) - (height(base.frame) - base.client.cy);
    EXPECT_NEAR(high.fallback_frame.cx, width(high.frame), std::abs(guess_x) * 3 / 2 + 1);
    EXPECT_NEAR(high.fallback_frame.cy, height(high.frame), std::abs(guess_y) * 3 / 2 + 1);

    ASSERT_EQ(moved.exit_code, 0u);
    WindowLayout low;
    ASSERT_TRUE(read_layout_text(moved.report, low)) << moved.report;
    EXPECT_EQ(width(low.frame), 305);
    EXPECT_EQ(height(low.frame), 419);
    for (int i = 0; i < control_count; ++i) {
        EXPECT_EQ(low.controls[i].left, base.controls[i].left) << i;
        EXPECT_EQ(low.controls[i].top, base.controls[i].top) << i;
        EXPECT_EQ(low.controls[i].right, base.controls[i].right) << i;
        EXPECT_EQ(low.controls[i].bottom, base.controls[i].bottom) << i;
    }
    EXPECT_NEAR(low.font_height, base.font_height, 1);
    EXPECT_EQ(low.font_face, base.font_face);
}
