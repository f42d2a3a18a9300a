// Fetching one coupon from the raffle service.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/platform.h"
#include "text/text.h"

// Read piece from a Content-Length value: length + 1, at most 102,400; 10,240
// when the value is missing, not a positive decimal number, or out of range.
std::size_t read_piece_size(std::string_view content_length);

// One GET of the address: the body of any reply, or empty (absent) when the
// address cannot be split, nothing could be sent, or no body byte arrived.
Bytes http_get_bytes(std::string_view address, const platform::HttpLimits& limits = {});

// http://<raffle endpoint>/api/cola/raffle?activityid=NA0371140216
Text raffle_url();

// The limits the program's fetch runs with.
platform::HttpLimits raffle_limits();

// The raffle reply as text; the empty text on any failure.
Text fetch_raffle_reply();
