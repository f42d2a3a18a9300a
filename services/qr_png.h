#pragma once

#include <string>
#include <string_view>

// Pixels per QR module and the width of the white border, in modules.
inline constexpr int qr_module_pixels = 6;
inline constexpr int qr_quiet_zone_modules = 4;

// Encodes the bytes of data as 8-bit QR data at error correction level M and
// returns an 8-bit greyscale PNG, black on white. Returns an empty string when
// the data cannot be encoded (empty or too long) or the PNG cannot be written.
std::string qr_png(std::string_view data);
