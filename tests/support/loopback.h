// The port that the loopback build of the core has compiled in for both services.
#pragma once

#include <cstdint>
#include <string_view>

inline constexpr std::uint16_t loopback_port = 18370;
inline constexpr std::string_view loopback_endpoint = "127.0.0.1:18370";
