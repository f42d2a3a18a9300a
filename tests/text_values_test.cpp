#include <gtest/gtest.h>

#include <string>

#include "text/text.h"

using namespace std::string_literals;

TEST(JoinTexts, PartsInOrderWithAbsentPartsEmpty)
{
    const Text absent;
    EXPECT_EQ(join_texts(absent, absent).view(), "");
    EXPECT_EQ(join_texts(absent, Text("ab")).view(), "ab");
    const Text seven = join_texts(Text("1"), std::string_view("22"), absent, Text("333"),
                                  std::string_view(""), Text("\xB0\x41"), Text("z"));
    EXPECT_EQ(seven.view(), "122333\xB0\x41z");
    EXPECT_EQ(seven.c_str()[seven.size()], '\0');
    EXPECT_EQ(std::char_traits<char>::length(seven.c_str()), 9u);
}

TEST(JoinTexts, PartStopsAtItsFirstNul)
{
    EXPECT_EQ(join_texts(std::string_view("a\0b", 3), std::string_view("c")).view(), "ac");
}

TEST(TextValues, Conversions)
{
    struct Case {
        std::int32_t value;
        const char* text;
    };
    for (const Case& c : {Case{0, "0"}, Case{12, "12"}, Case{-7, "-7"},
                          Case{2147483647, "2147483647"}, Case{-2147483647 - 1, "-2147483648"}})
        EXPECT_EQ(int_to_text(c.value).view(), c.text) << c.value;

    EXPECT_EQ(bytes_to_text(Bytes("A\0B"s)).view(), "A");
    EXPECT_EQ(bytes_to_text(Bytes("\0AB"s)).view(), "");
    EXPECT_EQ(bytes_to_text(empty_bytes).view(), "");
    EXPECT_EQ(bytes_to_text(Bytes("\xD2\xFD\xBA\xC5"s)).view(), "\xD2\xFD\xBA\xC5");

    EXPECT_EQ(text_to_bytes(empty_text).size(), 0);
    EXPECT_EQ(text_to_bytes(Text("abc")).view(), "abc");
    EXPECT_EQ(to_integer(0), 0);
    EXPECT_EQ(byte_length(Text("\xB0\x41z")), 3);
    EXPECT_EQ(byte_length(empty_text), 0);
}

TEST(TextValues, TextNeverHoldsANul)
{
    EXPECT_EQ(Text("ab\0cd"s).view(), "ab");
    std::string owned = "xy\0z"s;
    EXPECT_EQ(Text(std::move(owned)).size(), 2);
}

TEST(TextValues, AssignmentMakesAPrivateCopy)
{
    Text a("page");
    Text b = copy_text(a);
    a = join_texts(a, std::string_view("+1")); // a takes part in its own new value
    EXPECT_EQ(a.view(), "page+1");
    EXPECT_EQ(b.view(), "page");
    Text cleared = empty_text;
    cleared = Text("again");
    EXPECT_EQ(cleared.view(), "again");
    EXPECT_TRUE(empty_text.empty());
}

TEST(TextValuesDeathTest, LengthReaching2To31IsExhaustedMemory)
{
    EXPECT_EQ(checked_length((std::uint64_t{1} << 31) - 1), 2147483647);
    const auto stop = [] {
        std::set_new_handler([] { std::_Exit(42); });
        checked_length(std::uint64_t{1} << 31);
    };
    EXPECT_EXIT(stop(), testing::ExitedWithCode(42), "");
    // A join whose parts add up past the limit stops before it allocates.
    const auto join_too_long = [] {
        std::set_new_handler([] { std::_Exit(42); });
        const Text half(std::string(std::size_t{1} << 30, 'x'));
        (void)join_texts(half, half);
    };
    EXPECT_EXIT(join_too_long(), testing::ExitedWithCode(42), "");
}
