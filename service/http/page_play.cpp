#include "http/page_play.h"

#include "library/html_text.h"
#include "http/page_frame.h"
#include "util/script_escape.h"

namespace taviro::demo {

using catalogue::HtmlEscape;
using catalogue::ScriptStringLiteral;
namespace {

constexpr std::string_view kPlayStyle = R"css(
html,body{height:100%;overflow:hidden;background:#000}
video{position:absolute;left:0;top:0;width:100%;height:100%;background:#000}
.tag{position:absolute;left:10px;top:8px;padding:1px 8px;border-radius:3px;background:rgba(240,138,36,.85);
 color:#fff;font-size:12px;z-index:2}
.msg{position:absolute;left:0;right:0;top:45%;text-align:center;color:#999;font-size:14px}
)css";

}  // namespace

std::string RenderPlayPage(std::string_view raw_query, std::string_view end_address) {
  const std::size_t split = raw_query.find("$$$");
  const std::string_view kind = split == std::string_view::npos ? raw_query : raw_query.substr(0, split);
  const std::string url =
      split == std::string_view::npos ? std::string() : ScriptUnescape(raw_query.substr(split + 3));
  std::string body;
  if (url.empty()) {
    body = "<div class=\"msg\">没有可播放的地址</div>";
    return HtmlPage({"网页播放", kPlayStyle, body, true});
  }
  body += "<span class=\"tag\">网页播放 · " + HtmlEscape(kind) + "</span>";
  body += "<video id=\"v\" controls autoplay src=\"" + HtmlEscape(url) + "\"></video>";
  body += "<script type=\"text/javascript\">var endAddress=" + ScriptStringLiteral(end_address) + ";\n";
  body += "document.getElementById('v').addEventListener('ended',function(){location.href=endAddress;});\n";
  body += "</script>";
  return HtmlPage({"网页播放", kPlayStyle, body, true});
}

}  // namespace taviro::demo
