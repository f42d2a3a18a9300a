// Every GBK constant decodes, as code page 936, to its Chinese spelling.
#include <gtest/gtest.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <string>

#include "text/program_texts.h"

namespace {

#if defined(_WIN32)
std::string decode_cp936(std::string_view gbk_bytes)
{
    const int size = static_cast<int>(gbk_bytes.size());
    const int wide_size = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, gbk_bytes.data(), size, nullptr, 0);
    if (wide_size == 0 && size != 0)
        return "<invalid GBK>";
    std::wstring wide(static_cast<size_t>(wide_size), L'\0');
    MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, gbk_bytes.data(), size, wide.data(), wide_size);
    std::string out(static_cast<size_t>(wide_size) * 4, '\0');
    out.resize(static_cast<size_t>(
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_size, out.data(), static_cast<int>(out.size()), nullptr, nullptr)));
    return out;
}
#else
std::string decode_cp936(std::string_view gbk_bytes)
{
    iconv_t cd = iconv_open("UTF-8", "CP936");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return "<no CP936 converter>";
    std::string in(gbk_bytes);
    std::string out(in.size() * 4 + 4, '\0');
    char* src = in.data();
    char* dst = out.data();
    size_t src_left = in.size();
    size_t dst_left = out.size();
    const size_t done = iconv(cd, &src, &src_left, &dst, &dst_left);
    iconv_close(cd);
    if (done == static_cast<size_t>(-1))
        return "<invalid GBK>";
    out.resize(out.size() - dst_left);
    return out;
}
#endif

struct Spelling {
    const char* name;
    std::string_view gbk;
    const char8_t* utf8;
};

const Spelling spellings[] = {
    {"label_initial", gbk::label_initial, u8"返回信息"},
    {"generate_button_caption", gbk::generate_button_caption, u8"点一次加1个，OK的时候再点击下面的按钮"},
    {"export_button_caption", gbk::export_button_caption, u8"OK了，出来吧"},
    {"caption_prefix", gbk::caption_prefix, u8"VostrelQuilbe生成器By "},
    {"quote_token", gbk::quote_token, u8"#引号"},
    {"date_start_marker", gbk::date_start_marker, u8"time\":\""},
    {"date_end_marker", gbk::date_end_marker, u8"\",\""},
    {"code_start_marker", gbk::code_start_marker, u8"activity\":\""},
    {"code_end_marker", gbk::code_end_marker, u8"\"}"},
    {"snippet_image_open", gbk::snippet_image_open, u8"<img src=\""},
    {"qr_path", gbk::qr_path, u8"/api.php?text="},
    {"snippet_after_code", gbk::snippet_after_code, u8"\" alt=\"\" width=\"150\" height=\"150\" title=\"\" align=\"\" /><p>\r\n\t有效期到"},
    {"snippet_after_date", gbk::snippet_after_date, u8"</p>本次优惠码为"},
    {"snippet_close", gbk::snippet_close, u8"</p>"},
    {"status_prefix", gbk::status_prefix, u8"返回信息：成功生成"},
    {"status_suffix", gbk::status_suffix, u8"个VostrelQuilbe二维码"},
    {"export_notice", gbk::export_notice, u8"<div>\r\n\t<span style=\"font-size:16px;\"><strong>所生成的VostrelQuilbe活动二维码</strong><span style=\"color:#E53333;\"><strong>当天有效</strong></span><strong>。</strong></span><br />\r\n<span style=\"font-size:16px;\"><strong>活动时间：至2016年8月23日</strong></span><br />\r\n<span style=\"font-size:16px;\"><strong>部分Vostrel有时间限制，早9点到晚6点间才能使用&nbsp;</strong></span>\r\n</div>"},
    {"export_done", gbk::export_done, u8"本次任务完成"},
    {"export_failed", gbk::export_failed, u8"未知错误，请重试"},
    {"user_agent", gbk::user_agent, u8"Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)"},
    {"raffle_path", gbk::raffle_path, u8"/api/cola/raffle?activityid=NA0371140216"},
    {"fetch_failed", gbk::fetch_failed, u8"获取优惠码失败，请重试"},
    {"fetch_waiting", gbk::fetch_waiting, u8"正在获取优惠码，请稍候"},
    {"close_question_prefix", gbk::close_question_prefix, u8"还有"},
    {"close_question_suffix", gbk::close_question_suffix, u8"个优惠码没有导出，确定退出吗？"},
    {"yes_button", gbk::yes_button, u8"是(&Y)"},
    {"no_button", gbk::no_button, u8"否(&N)"},
};

} // namespace

TEST(ProgramTexts, EachDecodesToItsChineseSpelling)
{
    for (const Spelling& s : spellings)
        EXPECT_EQ(decode_cp936(s.gbk), reinterpret_cast<const char*>(s.utf8)) << s.name;
}

TEST(ProgramTexts, NoticeIs381BytesOfFiveLines)
{
    EXPECT_EQ(gbk::export_notice.size(), 381u);
    EXPECT_TRUE(gbk::export_notice.starts_with("<div>\r\n\t<span"));
    EXPECT_TRUE(gbk::export_notice.ends_with("</span>\r\n</div>"));
    std::size_t pairs = 0;
    for (std::size_t at = gbk::export_notice.find("\r\n"); at != std::string_view::npos;
         at = gbk::export_notice.find("\r\n", at + 2))
        ++pairs;
    EXPECT_EQ(pairs, 4u);
}

TEST(ProgramTexts, QuoteTokenBytes)
{
    EXPECT_EQ(gbk::quote_token, std::string_view("\x23\xD2\xFD\xBA\xC5"));
}
