// Every literal text of the program, stored as GBK (code page 936) bytes.
// The comment above each constant spells it in Chinese.
#pragma once

#include <string_view>

namespace gbk {

// 返回信息
inline constexpr std::string_view label_initial = "\xB7\xB5\xBB\xD8\xD0\xC5\xCF\xA2";

// 点一次加1个，OK的时候再点击下面的按钮
inline constexpr std::string_view generate_button_caption = "\xB5\xE3\xD2\xBB\xB4\xCE\xBC\xD3" "1\xB8\xF6\xA3\xACOK\xB5\xC4\xCA\xB1\xBA\xF2\xD4\xD9\xB5\xE3\xBB\xF7\xCF\xC2\xC3\xE6\xB5\xC4\xB0\xB4\xC5\xA5";

// OK了，出来吧
inline constexpr std::string_view export_button_caption = "OK\xC1\xCB\xA3\xAC\xB3\xF6\xC0\xB4\xB0\xC9";

// VostrelQuilbe生成器By 
inline constexpr std::string_view caption_prefix = "VostrelQuilbe\xC9\xFA\xB3\xC9\xC6\xF7" "By ";

// #引号
inline constexpr std::string_view quote_token = "#\xD2\xFD\xBA\xC5";

// time":"
inline constexpr std::string_view date_start_marker = "time\":\"";

// ","
inline constexpr std::string_view date_end_marker = "\",\"";

// activity":"
inline constexpr std::string_view code_start_marker = "activity\":\"";

// "}
inline constexpr std::string_view code_end_marker = "\"}";

// <img src="
inline constexpr std::string_view snippet_image_open = "<img src=\"";

// /api.php?text=
inline constexpr std::string_view qr_path = "/api.php?text=";

// " alt="" width="150" height="150" title="" align="" /><p>\r\n\t有效期到
inline constexpr std::string_view snippet_after_code = "\" alt=\"\" width=\"150\" height=\"150\" title=\"\" align=\"\" /><p>\r\n\t\xD3\xD0\xD0\xA7\xC6\xDA\xB5\xBD";

// </p>本次优惠码为
inline constexpr std::string_view snippet_after_date = "</p>\xB1\xBE\xB4\xCE\xD3\xC5\xBB\xDD\xC2\xEB\xCE\xAA";

// </p>
inline constexpr std::string_view snippet_close = "</p>";

// 返回信息：成功生成
inline constexpr std::string_view status_prefix = "\xB7\xB5\xBB\xD8\xD0\xC5\xCF\xA2\xA3\xBA\xB3\xC9\xB9\xA6\xC9\xFA\xB3\xC9";

// 个VostrelQuilbe二维码
inline constexpr std::string_view status_suffix = "\xB8\xF6VostrelQuilbe\xB6\xFE\xCE\xAC\xC2\xEB";

// <div>\r\n\t<span style="font-size:16px;"><strong>所生成的VostrelQuilbe活动二维码</strong><span style="col ...
inline constexpr std::string_view export_notice =
    "<div>\r\n\t<span style=\"font-size:16px;\"><strong>\xCB\xF9\xC9\xFA\xB3\xC9\xB5\xC4Vostre"
    "lQuilbe\xBB\xEE\xB6\xAF\xB6\xFE\xCE\xAC\xC2\xEB</strong><span style=\"color:#E53333;\"><stro"
    "ng>\xB5\xB1\xCC\xEC\xD3\xD0\xD0\xA7</strong></span><strong>\xA1\xA3</strong></span><br />\r"
    "\n<span style=\"font-size:16px;\"><strong>\xBB\xEE\xB6\xAF\xCA\xB1\xBC\xE4\xA3\xBA\xD6\xC1" "2016\xC4\xEA" "8\xD4\xC2"
    "23\xC8\xD5</strong></span><br />\r\n<span style=\"font-size:16px;\"><s"
    "trong>\xB2\xBF\xB7\xD6Vostrel\xD3\xD0\xCA\xB1\xBC\xE4\xCF\xDE\xD6\xC6\xA3\xAC\xD4\xE7" "9\xB5\xE3\xB5\xBD\xCD\xED" "6\xB5\xE3\xBC\xE4\xB2\xC5\xC4\xDC\xCA\xB9\xD3\xC3&nbsp;</s"
    "trong></span>\r\n</div>";

// 本次任务完成
inline constexpr std::string_view export_done = "\xB1\xBE\xB4\xCE\xC8\xCE\xCE\xF1\xCD\xEA\xB3\xC9";

// 未知错误，请重试
inline constexpr std::string_view export_failed = "\xCE\xB4\xD6\xAA\xB4\xED\xCE\xF3\xA3\xAC\xC7\xEB\xD6\xD8\xCA\xD4";

// Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)
inline constexpr std::string_view user_agent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

// /api/cola/raffle?activityid=NA0371140216
inline constexpr std::string_view raffle_path = "/api/cola/raffle?activityid=NA0371140216";

// The caption's attribution, after caption_prefix.
inline constexpr std::string_view caption_attribution = "vqgen";

// The exported page's file name, in the program's directory.
inline constexpr std::string_view export_file_name = "1.html";

// 获取优惠码失败，请重试
inline constexpr std::string_view fetch_failed = "\xBB\xF1\xC8\xA1\xD3\xC5\xBB\xDD\xC2\xEB\xCA\xA7\xB0\xDC\xA3\xAC\xC7\xEB\xD6\xD8\xCA\xD4";

// 正在获取优惠码，请稍候
inline constexpr std::string_view fetch_waiting = "\xD5\xFD\xD4\xDA\xBB\xF1\xC8\xA1\xD3\xC5\xBB\xDD\xC2\xEB\xA3\xAC\xC7\xEB\xC9\xD4\xBA\xF2";

// 还有 (then the count, then close_question_suffix)
inline constexpr std::string_view close_question_prefix = "\xBB\xB9\xD3\xD0";

// 个优惠码没有导出，确定退出吗？
inline constexpr std::string_view close_question_suffix = "\xB8\xF6\xD3\xC5\xBB\xDD\xC2\xEB\xC3\xBB\xD3\xD0\xB5\xBC\xB3\xF6\xA3\xAC\xC8\xB7\xB6\xA8\xCD\xCB\xB3\xF6\xC2\xF0\xA3\xBF";

// 是(&Y)
inline constexpr std::string_view yes_button = "\xCA\xC7(&Y)";

// 否(&N)
inline constexpr std::string_view no_button = "\xB7\xF1(&N)";

} // namespace gbk
