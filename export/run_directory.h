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

// Where 1.html goes: the executable's directory when the user may write there. An
// installed program lives where users cannot write; it then uses the documents
// directory the desktop names (else home + "/Documents") + "/vqgen". Where neither
// is known (Windows names neither) the executable's directory stays.
Text choose_program_directory(std::string_view executable_directory, bool writable,
                              std::string_view desktop_documents, std::string_view home);

// choose_program_directory for this run, fixed at the first call; created when it
// is the documents fallback and missing.
Text program_directory();

// program_directory + separator + "1.html".
Text export_path();
