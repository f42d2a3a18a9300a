// Files, paths and the process's end on Windows, in the ANSI code page.
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "platform/platform.h"

namespace {

struct FileCloser {
    HANDLE file;
    ~FileCloser()
    {
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }
};

bool write_blocks(HANDLE file, std::span<const std::string_view> blocks)
{
    for (std::string_view block : blocks) {
        while (!block.empty()) {
            DWORD written = 0;
            const DWORD size = static_cast<DWORD>(std::min<std::size_t>(block.size(), 1u << 30));
            if (!WriteFile(file, block.data(), size, &written, nullptr) || written == 0)
                return false;
            block.remove_prefix(written);
        }
    }
    return FlushFileBuffers(file) != 0;
}

} // namespace

namespace platform {

void prepare_process() {}

std::string executable_path()
{
    char path[260] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, length);
}

PathConvention path_convention()
{
    return {'\\', true};
}

bool set_current_directory(const std::string& path)
{
    return !path.empty() && SetCurrentDirectoryA(path.c_str()) != 0;
}

// Windows programs keep their files beside them: a directory the user cannot
// write shows as a failed export, and no other directory is named below.
bool directory_writable(const std::string&)
{
    return true;
}

std::string desktop_documents_directory()
{
    return {};
}

std::string home_directory()
{
    return {};
}

bool make_directories(const std::string& path)
{
    const int result = SHCreateDirectoryExA(nullptr, path.c_str(), nullptr);
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return (result == ERROR_SUCCESS || result == ERROR_ALREADY_EXISTS) && attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool replace_file(const std::string& path, std::span<const std::string_view> blocks)
{
    if (path.empty())
        return false;
    const std::string fresh = path + ".new";
    bool written = false;
    {
        FileCloser file{CreateFileA(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr)};
        if (file.file == INVALID_HANDLE_VALUE)
            return false;
        written = write_blocks(file.file, blocks);
        const HANDLE handle = file.file;
        file.file = INVALID_HANDLE_VALUE;
        written = CloseHandle(handle) != 0 && written;
    }
    if (!written || !MoveFileExA(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(fresh.c_str());
        return false;
    }
    return true;
}

[[noreturn]] void exit_process(int status)
{
    ExitProcess(static_cast<UINT>(status));
}

} // namespace platform
