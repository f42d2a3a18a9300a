// Splits an address into what one GET needs, without encoding or decoding anything.
#pragma once

#include <optional>
#include <string_view>

#include "platform/platform.h"

// scheme://[user[:password]@]host[:port][/path][?query][#fragment], scheme http or
// https; the fragment is dropped, a missing port is the scheme's default.
// nullopt when the address cannot be split.
std::optional<platform::HttpTarget> split_url(std::string_view url);
