#include "qr_decode.h"

#include <png.h>
#include <zbar.h>

#include <cstring>

png_header read_png_header(std::string_view png)
{
    static constexpr unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    png_header header;
    // Signature, then the IHDR chunk: length, "IHDR", width, height, depth, colour type.
    if (png.size() < 33 || std::memcmp(png.data(), signature, 8) != 0 || png.substr(12, 4) != "IHDR")
        return header;
    auto be32 = [&](std::size_t at) {
        const auto *p = reinterpret_cast<const unsigned char *>(png.data() + at);
        return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
    };
    header.valid = true;
    header.width = be32(16);
    header.height = be32(20);
    header.bit_depth = static_cast<unsigned char>(png[24]);
    header.colour_type = static_cast<unsigned char>(png[25]);
    return header;
}

grey_image decode_png_grey(std::string_view png)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size()))
        return {};
    image.format = PNG_FORMAT_GRAY;
    grey_image out;
    out.pixels.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, out.pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return {};
    }
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    return out;
}

std::vector<std::string> scan_qr_codes(const grey_image &image)
{
    // zbar.h puts its C interface in namespace zbar when included from C++.
    using namespace zbar;
    std::vector<std::string> found;
    if (image.width <= 0 || image.height <= 0)
        return found;

    zbar_image_scanner_t *scanner = zbar_image_scanner_create();
    zbar_image_scanner_set_config(scanner, ZBAR_NONE, ZBAR_CFG_ENABLE, 0);
    zbar_image_scanner_set_config(scanner, ZBAR_QRCODE, ZBAR_CFG_ENABLE, 1);
    // Without this zbar guesses a character set and re-encodes 8-bit data.
    zbar_image_scanner_set_config(scanner, ZBAR_QRCODE, ZBAR_CFG_BINARY, 1);

    zbar_image_t *zimage = zbar_image_create();
    zbar_image_set_format(zimage, zbar_fourcc('Y', '8', '0', '0'));
    zbar_image_set_size(zimage, static_cast<unsigned>(image.width), static_cast<unsigned>(image.height));
    zbar_image_set_data(zimage, image.pixels.data(), image.pixels.size(), nullptr);

    if (zbar_scan_image(scanner, zimage) > 0) {
        for (const zbar_symbol_t *symbol = zbar_image_first_symbol(zimage); symbol;
             symbol = zbar_symbol_next(symbol)) {
            if (zbar_symbol_get_type(symbol) == ZBAR_QRCODE)
                found.emplace_back(zbar_symbol_get_data(symbol), zbar_symbol_get_data_length(symbol));
        }
    }
    zbar_image_destroy(zimage);
    zbar_image_scanner_destroy(scanner);
    return found;
}
