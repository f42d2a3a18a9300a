#include "export/export.h"

#include <array>
#include <string>

#include "app/main_window.h"
#include "app/program_state.h"
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

Text directory_of(std::string_view path, char separator)
{
    std::size_t last = std::string_view::npos;
    for (std::size_t p = 0; p < path.size();) {
        if (path[p] == separator)
            last = p;
        p += static_cast<unsigned char>(path[p]) >= 0x80 ? 2 : 1;
    }
    if (last == std::string_view::npos)
        return Text();
    // A program in a root directory ("/vqgen", "C:\vqgen.exe") keeps the root.
    if (last == 0)
        return Text(path.substr(0, 1));
    return Text(path.substr(0, last));
}

Text run_directory()
{
    return directory_of(platform::executable_path(), platform::path_separator());
}

Text export_path()
{
    const char separator[] = {platform::path_separator(), '\0'};
    const Text directory = run_directory();
    if (directory.view() == separator)
        return join_texts(directory, gbk::export_file_name);
    return join_texts(directory, std::string_view(separator), gbk::export_file_name);
}

void on_export_click()
{
    const Text before = read_control_text(Control::编辑框1);
    write_control_text(Control::编辑框1, join_texts(before, gbk::export_notice));
    program.generated_count = to_integer(0);
    const Text path = export_path();
    const Bytes page = text_to_bytes(read_control_text(Control::编辑框1));
    if (!write_file_bytes(path, page.view())) {
        // Put the box back, so that a retry saves the page with one notice.
        write_control_text(Control::编辑框1, before);
        write_control_text(Control::透明标签1, gbk::export_failed);
        return;
    }
    platform::shell_open(std::string(export_path().view()));
    write_control_text(Control::编辑框1, empty_text);
    write_control_text(Control::透明标签1, gbk::export_done);
    program.page_html = empty_text;
}
