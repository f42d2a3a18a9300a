// Cuts a field out of a reply between two markers, by plain byte search.
#pragma once

#include <cstdint>
#include <string_view>

#include "text/text.h"

// The bytes between the first start_marker at or after start_position and the
// first end_marker after it, or the empty text when either is missing. In both
// markers the quote token "#引号" stands for a double quote.
Text extract_between(std::string_view source, std::string_view start_marker,
                     std::string_view end_marker, std::int32_t start_position, bool ignore_case);
