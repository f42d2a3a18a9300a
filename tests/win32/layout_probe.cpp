// Started by the layout tests as a process of its own, after they have set the
// desktop's DPI: makes the main window, measures it and writes what it found.
// usage: layout_probe OUTPUT [DPI]  (with DPI, first handles a move to a screen of DPI)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/main_window.h"
#include "app/win32/window.h"
#include "win32/window_measure.h"

namespace {

void nothing() {}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || !load_main_window(WindowEvents{nothing, nothing, nothing}))
        return 2;
    process_pending_messages();
    if (argc > 2) {
        send_dpi_change(std::atoi(argv[2]));
        process_pending_messages();
    }
    WindowLayout layout;
    if (!measure_main_window(layout))
        return 3;
    const std::string text = layout_text(layout);
    FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr)
        return 4;
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    const bool closed = std::fclose(out) == 0;
    DestroyWindow(main_window_handle());
    return written && closed ? 0 : 5;
}
