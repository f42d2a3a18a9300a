// Files for tests, by byte paths: UTF-8 on POSIX, the ANSI code page (GBK) on
// Windows, where the -A calls take the bytes as they are.
#pragma once

#include <string>
#include <vector>

namespace test_files {

char separator();
std::string join(const std::string& directory, const std::string& name);
std::string read(const std::string& path);
bool write(const std::string& path, const std::string& bytes);
bool exists(const std::string& path);
bool is_directory(const std::string& path);
bool make_directory(const std::string& path);
void remove_tree(const std::string& path);
std::vector<std::string> names_in(const std::string& directory);

} // namespace test_files
