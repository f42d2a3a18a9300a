#include "qr_decode.h"
#include "qr_png.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> round_trip(std::string_view text)
{
    return scan_qr_codes(decode_png_grey(qr_png(text)));
}

}  // namespace

TEST(qr_png, is_an_8_bit_greyscale_png_of_whole_modules)
{
    const std::string png = qr_png("AB12CD34EF56");
    const png_header header = read_png_header(png);
    ASSERT_TRUE(header.valid);
    EXPECT_EQ(header.bit_depth, 8);
    EXPECT_EQ(header.colour_type, 0);  // greyscale, no alpha
    EXPECT_EQ(header.width, header.height);
    ASSERT_EQ(header.width % qr_module_pixels, 0u);
    // A QR symbol is 21 + 4k modules wide, plus the quiet zone on both sides.
    const int modules = static_cast<int>(header.width) / qr_module_pixels - 2 * qr_quiet_zone_modules;
    EXPECT_GE(modules, 21);
    EXPECT_EQ((modules - 21) % 4, 0);
}

TEST(qr_png, black_on_white_with_a_quiet_zone)
{
    const grey_image image = decode_png_grey(qr_png("AB12CD34EF56"));
    ASSERT_GT(image.width, 0);
    const int border = qr_quiet_zone_modules * qr_module_pixels;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t v = image.pixels[static_cast<std::size_t>(y) * image.width + x];
            ASSERT_TRUE(v == 0 || v == 255) << "grey level " << int(v) << " at " << x << ',' << y;
            const bool in_border = x < border || y < border || x >= image.width - border || y >= image.height - border;
            if (in_border) {
                ASSERT_EQ(v, 255) << "quiet zone not white at " << x << ',' << y;
            }
        }
    }
    // The top-left finder pattern starts with a dark module right after the border.
    EXPECT_EQ(image.pixels[static_cast<std::size_t>(border) * image.width + border], 0);
}

TEST(qr_png, modules_are_at_least_4_pixels_and_the_quiet_zone_is_4_modules)
{
    // Measured from the picture: the top row of the top-left finder pattern is
    // 7 dark modules, starting right after the quiet zone.
    const grey_image image = decode_png_grey(qr_png("AB12CD34EF56"));
    ASSERT_GT(image.width, 0);
    auto at = [&](int x, int y) { return image.pixels[static_cast<std::size_t>(y) * image.width + x]; };
    int quiet = 0;
    while (quiet < image.width && at(quiet, quiet) != 0)
        ++quiet;
    ASSERT_LT(quiet, image.width);
    int run = 0;
    while (quiet + run < image.width && at(quiet + run, quiet) == 0)
        ++run;
    ASSERT_EQ(run % 7, 0) << "finder row of " << run << " pixels";
    const int module = run / 7;
    EXPECT_GE(module, 4);
    EXPECT_EQ(quiet, 4 * module);
}

TEST(qr_png, decodes_back_to_the_text)
{
    EXPECT_EQ(round_trip("AB12CD34EF56"), std::vector<std::string>{"AB12CD34EF56"});
    EXPECT_EQ(round_trip("A B&C+D=E?F"), std::vector<std::string>{"A B&C+D=E?F"});
}

TEST(qr_png, keeps_high_and_nul_bytes_exactly)
{
    const std::string bytes("caf\xc3\xa9 \xff\x80\x00z", 10);
    EXPECT_EQ(round_trip(bytes), std::vector<std::string>{bytes});
}

TEST(qr_png, empty_text_is_rejected)
{
    EXPECT_TRUE(qr_png("").empty());
}

TEST(qr_png, longest_8_bit_text_at_level_m_fits_and_one_more_does_not)
{
    // 2331 bytes is the 8-bit capacity of a version 40 symbol at level M.
    EXPECT_FALSE(qr_png(std::string(2331, 'x')).empty());
    EXPECT_TRUE(qr_png(std::string(2332, 'x')).empty());
}
