#include "export/run_directory.h"

#include "platform/platform.h"
#include "text/program_texts.h"

Text directory_of(std::string_view path, char separator, bool double_byte_ansi)
{
    std::size_t last = std::string_view::npos;
    for (std::size_t p = 0; p < path.size();) {
        if (path[p] == separator)
            last = p;
        p += double_byte_ansi && static_cast<unsigned char>(path[p]) >= 0x80 ? 2 : 1;
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
    const platform::PathConvention paths = platform::path_convention();
    return directory_of(platform::executable_path(), paths.separator, paths.double_byte_ansi);
}

Text export_path()
{
    const char separator[] = {platform::path_convention().separator, '\0'};
    const Text directory = run_directory();
    if (directory.view() == separator)
        return join_texts(directory, gbk::export_file_name);
    return join_texts(directory, std::string_view(separator), gbk::export_file_name);
}
