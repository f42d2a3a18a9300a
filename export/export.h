// The lower button: finish the page with the notice, save it as 1.html in the
// program's directory, open it, and start a new batch.
#pragma once

#include <string_view>

#include "text/text.h"

// 按钮2's click: queues the export behind the presses still waiting.
void on_export_click();

// Appends the notice, saves the box as 1.html and opens it. A failed save leaves
// the box, the page and the counter as they were.
void export_page();
