// Runs a test binary from a copy of itself in a fresh program directory, so that
// what the program saves beside its executable lands in a place of the test's own.
// The directory's name has Chinese characters and a space; a stand-in desktop
// opener on PATH records every open request in <home>/opened.log.
#pragma once

#include <filesystem>
#include <string>

namespace relocated {

// "中 文": a directory name that a GBK walk over UTF-8 bytes would cut wrongly.
inline const std::string program_folder = "\xE4\xB8\xAD \xE6\x96\x87";

// True inside the copy.
bool active();

// In the original: makes the copy, runs it with argv, removes everything, and
// returns the copy's exit status.
int run_copy(char** argv);

std::filesystem::path home();
std::filesystem::path program_dir();
std::string opened_log();

} // namespace relocated
