#include "qr_png.h"

#include <png.h>
#include <qrencode.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

struct qrcode_deleter {
    void operator()(QRcode *code) const { QRcode_free(code); }
};

std::string write_grey_png(const std::vector<std::uint8_t> &pixels, int side)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(side);
    image.height = static_cast<png_uint_32>(side);
    image.format = PNG_FORMAT_GRAY;

    // First call only measures; the second writes into a buffer of that size.
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr))
        return {};
    std::string out(size, '\0');
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr))
        return {};
    out.resize(size);
    return out;
}

}  // namespace

std::string qr_png(std::string_view data)
{
    // encodeData keeps every byte as-is (8-bit mode), unlike encodeString,
    // which would stop at NUL and pick modes by itself.
    std::unique_ptr<QRcode, qrcode_deleter> code(
        QRcode_encodeData(static_cast<int>(data.size()),
                          reinterpret_cast<const unsigned char *>(data.data()), 0, QR_ECLEVEL_M));
    if (!code)
        return {};

    const int modules = code->width + 2 * qr_quiet_zone_modules;
    const int side = modules * qr_module_pixels;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(side) * side, 0xff);
    for (int y = 0; y < code->width; ++y) {
        for (int x = 0; x < code->width; ++x) {
            // The low bit of each module byte says dark or light.
            if ((code->data[y * code->width + x] & 1) == 0)
                continue;
            const int px = (x + qr_quiet_zone_modules) * qr_module_pixels;
            const int py = (y + qr_quiet_zone_modules) * qr_module_pixels;
            for (int dy = 0; dy < qr_module_pixels; ++dy) {
                std::uint8_t *row = pixels.data() + static_cast<std::size_t>(py + dy) * side + px;
                std::fill(row, row + qr_module_pixels, std::uint8_t{0});
            }
        }
    }
    return write_grey_png(pixels, side);
}
