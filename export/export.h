// The lower button: finish the page with the notice, save it as 1.html beside
// the program, open it, and start a new batch.
#pragma once

#include <string_view>

#include "text/text.h"

// 按钮2's click.
void on_export_click();
