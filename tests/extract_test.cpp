#include <gtest/gtest.h>

#include <string>

#include "text/extract.h"
#include "text/program_texts.h"

namespace {

struct Case {
    const char* name;
    std::string source;
    std::string start_marker;
    std::string end_marker;
    std::int32_t start_position;
    bool ignore_case;
    std::string expected;
};

const std::string date_start(gbk::date_start_marker);
const std::string date_end(gbk::date_end_marker);
const std::string code_start(gbk::code_start_marker);
const std::string code_end(gbk::code_end_marker);
const std::string token(gbk::quote_token);

} // namespace

TEST(ExtractBetween, ReplyCases)
{
    const std::string reply = R"({"time":"2016-08-31","activity":"AB12"})";
    const Case cases[] = {
        {"worked example, date", reply, date_start, date_end, 0, false, "2016-08-31"},
        {"worked example, code", reply, code_start, code_end, 0, false, "AB12"},
        {"empty value", R"({"time":"","x":1})", date_start, date_end, 0, false, ""},
        {"start marker at the very end", R"({"x":1,"time":")", date_start, date_end, 0, false, ""},
        {"end marker missing", R"({"activity":"AB12")", code_start, code_end, 0, false, ""},
        {"no start marker", R"({"x":1})", date_start, date_end, 0, false, ""},
        {"empty source", "", date_start, date_end, 0, false, ""},
        {"first occurrence wins", R"({"time":"1","time":"2"})", date_start, date_end, 0, false, "1"},
        {"code not last: runs to the end", R"({"activity":"AB12","time":"2016-08-31"})", code_start,
         code_end, 0, false, R"(AB12","time":"2016-08-31)"},
        {"date last: its end marker is missing", R"({"activity":"AB12","time":"2016-08-31"})",
         date_start, date_end, 0, false, ""},
        {"overlapping markers", "abc", "ab", "bc", 0, false, ""},
        {"quote-token markers", reply, "time" + token + ":" + token, token + "," + token, 0, false,
         "2016-08-31"},
        {"case kept", R"({"TIME":"2016-08-31","x":1})", date_start, date_end, 0, false, ""},
        {"case ignored", R"({"TIME":"2016-08-31","x":1})", date_start, date_end, 0, true, "2016-08-31"},
        {"start position 1", reply, date_start, date_end, 1, false, "2016-08-31"},
        {"start position past the marker", reply, date_start, date_end, 4, false, ""},
        {"GBK value passes through", "{\"time\":\"\xD2\xFD\",\"", date_start, date_end, 0, false,
         "\xD2\xFD"},
        {"marker behind a UTF-8 character is passed over", "\xE4\xB8\xADtime\":\"x\",\"", date_start,
         date_end, 0, false, ""},
        {"value holds its end marker", R"({"time":"a","b","x":1})", date_start, date_end, 0, false, "a"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(extract_between(c.source, c.start_marker, c.end_marker, c.start_position, c.ignore_case).view(),
                  c.expected)
            << c.name;
}

TEST(ExtractBetween, LeavesItsArgumentsUnchanged)
{
    std::string start = "time" + token + ":" + token;
    const std::string kept = start;
    const std::string source = R"({"time":"1","x":1})";
    EXPECT_EQ(extract_between(source, start, date_end, 0, false).view(), "1");
    EXPECT_EQ(start, kept);
}
