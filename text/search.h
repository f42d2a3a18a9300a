// Searching, cutting and replacing inside GBK texts. Positions count bytes from 1;
// a search that finds nothing gives -1. Search and replace step over two-byte
// characters (a byte 0x80-0xFF takes the next byte with it); cutting counts bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "text/text.h"

// First occurrence of marker at or after start_position (1, 0 and negative mean
// the first byte). ignore_case folds A-Z only.
std::int32_t search_text(std::string_view text, std::string_view marker,
                         std::int32_t start_position, bool ignore_case);

// At most length bytes from position start.
Text mid_text(std::string_view text, std::int32_t start, std::int32_t length);

// Replaces occurrences of sub_text from left to right without overlap. An omitted
// start_position means the first byte, an omitted or negative count sets no limit.
// Note the sense of the flag: case_sensitive true matches bytes exactly.
Text replace_text(std::string_view text, std::string_view sub_text, std::string_view replacement,
                  std::optional<std::int32_t> start_position, std::optional<std::int32_t> count,
                  bool case_sensitive);

std::int64_t truncate_toward_zero(double x);
