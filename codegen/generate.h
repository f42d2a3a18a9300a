// The upper button: one coupon per press, appended to the page as an HTML snippet.
#pragma once

#include "text/text.h"

// 按钮1's click: queues one generation behind the presses still waiting.
void on_generate_click();

// Starts the fetch off the window's thread; finish_generation handles its reply.
void generate_one_code();

// Cuts date and code out of the reply. With a code: counts it, appends its snippet
// and shows page and count. Without one: the page and the count stay, the label
// says the fetch failed.
void finish_generation(Text reply);
