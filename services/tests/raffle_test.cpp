#include "raffle.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

TEST(raffle_body, exact_format_and_member_order)
{
    EXPECT_EQ(make_raffle_body("2024-03-09", "AB12CD34EF56"),
              R"({"time":"2024-03-09","activity":"AB12CD34EF56"})");
}

TEST(raffle_body, uses_the_values_given)
{
    EXPECT_EQ(make_raffle_body("1999-12-31", "ZZZZZZ000000"),
              R"({"time":"1999-12-31","activity":"ZZZZZZ000000"})");
}

TEST(coupon_code, twelve_upper_case_letters_or_digits)
{
    const std::regex shape("^[A-Z0-9]{12}$");
    for (int i = 0; i < 500; ++i) {
        const std::string code = random_coupon_code();
        ASSERT_TRUE(std::regex_match(code, shape)) << code;
    }
}

TEST(coupon_code, varies_and_covers_letters_and_digits)
{
    std::set<std::string> codes;
    bool saw_letter = false;
    bool saw_digit = false;
    for (int i = 0; i < 200; ++i) {
        const std::string code = random_coupon_code();
        codes.insert(code);
        for (char c : code) {
            saw_letter = saw_letter || (c >= 'A' && c <= 'Z');
            saw_digit = saw_digit || (c >= '0' && c <= '9');
        }
    }
    // 36^12 possible codes: any repeat in 200 draws means a broken generator.
    EXPECT_EQ(codes.size(), 200u);
    EXPECT_TRUE(saw_letter);
    EXPECT_TRUE(saw_digit);
}

TEST(local_date, looks_like_an_iso_date)
{
    EXPECT_TRUE(std::regex_match(local_date_today(), std::regex(R"(^\d{4}-(0[1-9]|1[0-2])-(0[1-9]|[12]\d|3[01])$)")))
        << local_date_today();
}
