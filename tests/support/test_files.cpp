#include "test_files.h"

#include <fstream>
#include <iterator>

#if defined(_WIN32)
#include <windows.h>
#else
#include <filesystem>
#endif

namespace test_files {

std::string join(const std::string& directory, const std::string& name)
{
    return directory + separator() + name;
}

std::string read(const std::string& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool write(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out);
}

#if defined(_WIN32)

char separator() { return '\\'; }

bool exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool is_directory(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool make_directory(const std::string& path)
{
    return CreateDirectoryA(path.c_str(), nullptr) != 0 || is_directory(path);
}

std::vector<std::string> names_in(const std::string& directory)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

void remove_tree(const std::string& path)
{
    if (!is_directory(path)) {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
        return;
    }
    for (const std::string& name : names_in(path))
        remove_tree(join(path, name));
    RemoveDirectoryA(path.c_str());
}

#else

char separator() { return '/'; }

bool exists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::exists(path, error);
}

bool is_directory(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

bool make_directory(const std::string& path)
{
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return is_directory(path);
}

std::vector<std::string> names_in(const std::string& directory)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(directory, error))
        names.push_back(entry.path().filename().string());
    return names;
}

void remove_tree(const std::string& path)
{
    std::error_code error;
    std::filesystem::remove_all(path, error);
}

#endif

} // namespace test_files
