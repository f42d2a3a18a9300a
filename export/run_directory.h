// Where the program lives, and so where the exported page goes.
#pragma once

#include <string_view>

#include "text/text.h"

// The directory part of a path: everything before its last separator. With
// double_byte_ansi the path is walked by GBK characters, so that a trail byte
// equal to the separator is no cut. A path with no separator gives the empty text.
Text directory_of(std::string_view path, char separator, bool double_byte_ansi);

// The directory that holds the running executable, without a trailing separator;
// for a program in a root directory, the root.
Text run_directory();

// run_directory + separator + "1.html".
Text export_path();
