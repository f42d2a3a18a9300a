// Runs a test binary from a copy of itself in a fresh program directory, so that
// what the program saves beside its executable lands in a place of the test's own.
// The directory's name has Chinese characters and a space. The desktop opener's
// requests are recorded in <home>/opened.log, one path a line: on POSIX by a
// stand-in xdg-open on PATH, on Windows by the tests' stand-in for the opener.
#pragma once

#include <string>

namespace relocated {

// "中 文", in the platform's path encoding (UTF-8 on POSIX, GBK on Windows).
extern const std::string program_folder;

// True inside the copy.
bool active();

// In the original: makes the copy, runs it with argv, removes everything, and
// returns the copy's exit status.
int run_copy(int argc, char** argv);

std::string home();
std::string program_dir();
std::string page_file(); // program_dir + separator + "1.html"
std::string opened_log();

} // namespace relocated
