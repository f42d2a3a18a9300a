#include "export/export.h"

#include <array>
#include <string>

#include "app/main_window.h"
#include "app/press_queue.h"
#include "app/program_state.h"
#include "export/run_directory.h"
#include "platform/platform.h"
#include "text/program_texts.h"

namespace {

// Writes the blocks to path through the platform's safe replace; false on any failure.
bool write_file_bytes(const Text& path, std::string_view bytes)
{
    if (path.empty())
        return false;
    const std::array<std::string_view, 1> blocks{bytes};
    return platform::replace_file(std::string(path.view()), blocks);
}

} // namespace

void on_export_click()
{
    queue_press(Press::export_page);
}

void export_page()
{
    const Text before = read_control_text(Control::编辑框1);
    write_control_text(Control::编辑框1, join_texts(before, gbk::export_notice));
    const Text path = export_path();
    const Bytes page = text_to_bytes(read_control_text(Control::编辑框1)); // moved, not copied
    if (!write_file_bytes(path, page.view())) {
        // Put the box back, so that a retry saves the page with one notice; the
        // counter still counts the codes on the page.
        write_control_text(Control::编辑框1, before);
        write_control_text(Control::透明标签1, gbk::export_failed);
        return;
    }
    program.generated_count = to_integer(0);
    platform::shell_open(std::string(path.view()));
    write_control_text(Control::编辑框1, empty_text);
    write_control_text(Control::透明标签1, gbk::export_done);
    program.page_html = empty_text;
}
