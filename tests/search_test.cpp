#include <gtest/gtest.h>

#include <random>
#include <string>

#include "support/plain_walk.h"
#include "text/search.h"

using namespace std::string_literals;

TEST(SearchText, Table)
{
    struct Case {
        std::string text;
        std::string marker;
        std::int32_t start;
        bool ignore_case;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"\xB0\x41\x41", "A", 1, false, 3},          // the first A is 癆's second byte
        {"\xE4\xB8\xAD\x22", "\"", 1, false, -1},    // walked as E4 B8 | AD 22
        {"abcabc", "bc", 0, false, 2},
        {"abcabc", "bc", 1, false, 2},
        {"abcabc", "bc", -1, false, 2},
        {"abcabc", "bc", -2147483647 - 1, false, 2},
        {"abcabc", "bc", 3, false, 5},
        {"abcabc", "c", 6, false, 6},                // start at the length: last byte only
        {"abcabc", "b", 6, false, -1},
        {"abcabc", "c", 7, false, -1},               // length + 1: nothing to search
        {"abc", "", 1, false, 1},                    // empty marker in a non-empty stretch
        {"abc", "", 3, false, 1},
        {"abc", "", 4, false, -1},
        {"", "", 1, false, -1},
        {"", "a", 1, false, -1},
        {"xabc", "ABC", 1, true, 2},
        {"xabc", "ABC", 1, false, -1},
        {"xABC", "abc", 1, true, 2},
        {"[\\]", "{|}", 1, true, -1},                // only A-Z fold
        {"\xC1\x61", "\xC1\x41", 1, true, 1},        // a second byte in A-Z folds too
        {"ab", "abc", 1, false, -1},                 // marker longer than the text
        {"a\xB0", "\xB0", 1, false, 2},              // a final lone lead byte is a candidate
        {"\xB0", "x", 1, false, -1},
        {"\xB0\x41\xB0\x41", "\x41\xB0", 2, false, 2}, // start offset decides the pairing
    };
    for (const Case& c : cases)
        EXPECT_EQ(search_text(c.text, c.marker, c.start, c.ignore_case), c.expected)
            << testing::PrintToString(c.text) << " / " << testing::PrintToString(c.marker) << " from " << c.start;
}

TEST(MidText, Table)
{
    struct Case {
        std::int32_t start;
        std::int32_t length;
        const char* expected;
    };
    for (const Case& c : {Case{3, 10, "cdef"}, Case{1, 6, "abcdef"}, Case{0, 3, ""}, Case{7, 1, ""},
                          Case{3, 0, ""}, Case{3, -1, ""}, Case{6, 1, "f"}, Case{2, 2, "bc"},
                          Case{1, 2147483647, "abcdef"}})
        EXPECT_EQ(mid_text("abcdef", c.start, c.length).view(), c.expected) << c.start << "," << c.length;
    EXPECT_EQ(mid_text("\xD2\xFD\xBA\xC5", 2, 2).view(), "\xFD\xBA"); // bytes, not characters
}

TEST(ReplaceText, Table)
{
    struct Case {
        std::string text;
        std::string sub;
        std::string replacement;
        std::optional<std::int32_t> start;
        std::optional<std::int32_t> count;
        bool case_sensitive;
        std::string expected;
    };
    const std::string token = "#\xD2\xFD\xBA\xC5";
    const Case cases[] = {
        {"aaa", "aa", "x", {}, {}, true, "xa"},
        {"abab", "ab", "X", {}, 1, true, "Xab"},
        {"abab", "ab", "X", {}, 0, true, "abab"},
        {"abab", "ab", "X", {}, -3, true, "XX"},
        {"abab", "ab", "X", 5, {}, true, "abab"},
        {"abab", "ab", "X", 2, {}, true, "abX"},
        {"abab", "ab", "X", -9, {}, true, "XX"},
        {"abab", "AB", "X", {}, {}, false, "XX"},
        {"abab", "AB", "X", {}, {}, true, "abab"},
        {"aXa", "a", "aa", {}, {}, true, "aaXaa"},       // the replacement is never searched
        {"", "a", "b", {}, {}, true, ""},
        {"abc", "", "b", {}, {}, true, "abc"},
        {"\xB0\x41\x41", "A", "z", {}, {}, true, "\xB0\x41z"},
        {"time" + token + ":" + token, token, "\"", {}, {}, true, "time\":\""},
        {"a\xB0", "x", "y", {}, {}, true, "a\xB0"},      // a final lone lead byte stays
    };
    for (const Case& c : cases)
        EXPECT_EQ(replace_text(c.text, c.sub, c.replacement, c.start, c.count, c.case_sensitive).view(),
                  c.expected)
            << testing::PrintToString(c.text) << " / " << testing::PrintToString(c.sub);
}

TEST(TruncateTowardZero, Table)
{
    EXPECT_EQ(truncate_toward_zero(10.0 + 7.0), 17);
    EXPECT_EQ(truncate_toward_zero(-0.5), 0);
    EXPECT_EQ(truncate_toward_zero(2.9), 2);
    EXPECT_EQ(truncate_toward_zero(-2.9), -2);
    EXPECT_EQ(truncate_toward_zero(2147483647.0 + 1.0), 2147483648LL);
}

namespace {

// The walk written as plainly as possible: every character start from the offset.
} // namespace

TEST(SearchText, AgreesWithAPlainWalkOnRandomGbkLikeBytes)
{
    std::mt19937 random(20261211);
    // Few distinct bytes, half of them high, so that matches and odd pairings are common.
    const char alphabet[] = {'A', 'a', 'b', '"', '\\', '\x81', '\xB0', '\xE4', '\x41', '\x61'};
    const char ascii[] = "Aabxyz\"";
    bool mostly_ascii = false; // long ASCII runs take the eight-bytes-at-a-time path
    auto random_text = [&](std::size_t max_length) {
        std::string s(std::uniform_int_distribution<std::size_t>(0, max_length)(random), ' ');
        for (char& c : s)
            c = mostly_ascii && random() % 16 != 0 ? ascii[random() % 7] : alphabet[random() % sizeof alphabet];
        return s;
    };
    for (int i = 0; i < 20000; ++i) {
        mostly_ascii = i % 2 == 0;
        const std::string text = random_text(i % 10 == 0 ? 300 : 40);
        const std::string marker = random_text(4);
        const auto start = std::uniform_int_distribution<std::int32_t>(-2, 45)(random);
        const bool ignore_case = i % 3 == 0;
        const std::int32_t found = search_text(text, marker, start, ignore_case);
        ASSERT_EQ(found, plain_walk_search(text, marker, start, ignore_case))
            << testing::PrintToString(text) << " / " << testing::PrintToString(marker) << " from " << start;
    }
}
