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

Text choose_program_directory(std::string_view executable_directory, bool writable,
                              std::string_view desktop_documents, std::string_view home)
{
    if (writable || (desktop_documents.empty() && home.empty()))
        return Text(executable_directory);
    if (!desktop_documents.empty())
        return join_texts(desktop_documents, std::string_view("/vqgen"));
    return join_texts(home, std::string_view("/Documents/vqgen"));
}

namespace {

struct ProgramDirectory {
    Text path;
    bool fallback = false;
};

ProgramDirectory find_program_directory()
{
    const Text own = run_directory();
    const std::string own_path(own.view());
    if (platform::directory_writable(own_path))
        return {own, false};
    Text chosen = choose_program_directory(own, false, platform::desktop_documents_directory(),
                                           platform::home_directory());
    const bool fallback = chosen != own;
    return {std::move(chosen), fallback};
}

} // namespace

Text program_directory()
{
    static const ProgramDirectory directory = find_program_directory();
    if (directory.fallback)
        platform::make_directories(std::string(directory.path.view()));
    return directory.path;
}

Text export_path()
{
    const char separator[] = {platform::path_convention().separator, '\0'};
    const Text directory = program_directory();
    if (directory.view() == separator)
        return join_texts(directory, gbk::export_file_name);
    return join_texts(directory, std::string_view(separator), gbk::export_file_name);
}
