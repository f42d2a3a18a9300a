#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct grey_image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // row-major, one byte per pixel
};

// What the IHDR chunk of a PNG says, read straight from the bytes.
struct png_header {
    bool valid = false;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bit_depth = 0;
    int colour_type = 0;
};

png_header read_png_header(std::string_view png);

// Decodes any PNG into 8-bit grey; width and height stay 0 on failure.
grey_image decode_png_grey(std::string_view png);

// All QR symbols zbar finds, as raw bytes (no character set conversion).
std::vector<std::string> scan_qr_codes(const grey_image &image);
