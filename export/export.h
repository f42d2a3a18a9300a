// The lower button: finish the page with the notice, save it as 1.html beside
// the program, open it, and start a new batch.
#pragma once

#include <string_view>

#include "text/text.h"

// 按钮2's click.
void on_export_click();

// The directory part of a path: everything before its last separator, found by
// walking GBK characters so that a trail byte equal to the separator is no cut.
// A path with no separator gives the empty text.
Text directory_of(std::string_view path, char separator);

// The directory that holds the running executable, without a trailing separator;
// for a program in a root directory, the root.
Text run_directory();

// run_directory + separator + "1.html".
Text export_path();
