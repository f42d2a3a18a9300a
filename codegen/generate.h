// The upper button: one coupon per press, appended to the page as an HTML snippet.
#pragma once

// 按钮1's click: raises generated_count, then runs generate_one_code.
void on_generate_click();

// Fetch, cut out date and code, append the snippet, show page and count.
void generate_one_code();
