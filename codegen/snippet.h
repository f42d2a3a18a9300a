// The HTML snippet that one coupon adds to the page.
#pragma once

#include <string_view>

#include "text/text.h"

// The seven-piece snippet for a code and a date, with both inserted safely.
Text coupon_snippet(std::string_view code, std::string_view date);

// Every byte but A-Z a-z 0-9 - . _ ~ as %XX.
Text percent_encode(std::string_view bytes);

// & < > " ' as entities; every other byte, GBK included, unchanged.
Text escape_html(std::string_view bytes);
