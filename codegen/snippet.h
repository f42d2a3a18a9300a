// The upper button: one coupon per press, appended to the page as an HTML snippet.
#pragma once

#include <string_view>

#include "text/text.h"

// 按钮1's click: raises generated_count, then runs generate_one_code.
void on_generate_click();

// Fetch, cut out date and code, append the snippet, show page and count.
void generate_one_code();

// The seven-piece snippet for a code and a date, with both inserted safely.
Text coupon_snippet(std::string_view code, std::string_view date);

// Every byte but A-Z a-z 0-9 - . _ ~ as %XX.
Text percent_encode(std::string_view bytes);

// & < > " ' as entities; every other byte, GBK included, unchanged.
Text escape_html(std::string_view bytes);
