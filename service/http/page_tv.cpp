#include "http/page_tv.h"

#include "library/html_text.h"
#include "library/link_forms.h"
#include "http/page_frame.h"

namespace taviro::demo {
namespace {

constexpr std::string_view kListStyle = R"css(
body{width:202px;overflow-x:hidden;font-size:12px}
.group{height:26px;line-height:26px;padding:0 10px;background:#2a2929;color:#f08a24;border-bottom:1px solid #1b1b1b}
.ch a{display:flex;align-items:center;height:30px;padding:0 10px;border-bottom:1px solid #262626;color:#ccc}
.ch a:hover{background:#312d26;color:#fff}
.ch i{display:inline-block;width:6px;height:6px;border-radius:3px;background:#4caf50;margin-right:8px;flex:none}
.ch span{flex:1;white-space:nowrap;overflow:hidden;text-overflow:ellipsis}
.ch em{font-style:normal;color:#777;margin-left:6px;max-width:70px;white-space:nowrap;overflow:hidden;
 text-overflow:ellipsis}
)css";

constexpr std::string_view kScreenStyle = R"css(
html,body{height:100%;overflow:hidden;background:#181818}
.screen{position:absolute;left:0;right:0;top:0;bottom:0;display:flex;flex-direction:column;align-items:center;
 justify-content:center;color:#888}
.screen svg{width:96px;height:80px;margin-bottom:14px}
.screen h1{font-size:16px;color:#ccc;font-weight:normal}
video{position:absolute;left:0;top:0;width:100%;height:100%;background:#000}
.bug{position:absolute;right:12px;top:10px;z-index:2;color:#fff;font-size:13px;padding:2px 10px;border-radius:3px;
 background:rgba(0,0,0,.5)}
.bug b{color:#e33;margin-right:6px}
.now{position:absolute;left:0;right:0;bottom:0;z-index:2;padding:6px 12px;color:#ddd;font-size:12px;
 background:linear-gradient(transparent,rgba(0,0,0,.75))}
)css";

constexpr std::string_view kTvIcon =
    "<svg viewBox=\"0 0 96 80\"><rect x=\"4\" y=\"14\" width=\"88\" height=\"58\" rx=\"6\" fill=\"none\" "
    "stroke=\"#f08a24\" stroke-width=\"4\"/><path d=\"M34 2 L48 14 L62 2\" fill=\"none\" stroke=\"#f08a24\" "
    "stroke-width=\"4\"/><path d=\"M40 32 L58 43 L40 54Z\" fill=\"#f08a24\"/></svg>";

}  // namespace

std::string RenderTvListPage(const Catalogue& catalogue) {
  std::string body;
  std::string group;
  bool first = true;
  for (const TvChannel& channel : catalogue.channels) {
    if (first || channel.group != group) {
      if (!first) body += "</ul>";
      group = channel.group;
      body += "<div class=\"group\">" + HtmlEscape(group.empty() ? "电视直播" : group) +
              "</div><ul class=\"ch\">";
      first = false;
    }
    body += "<li><a href=\"" + HtmlEscape(ChannelLink(channel.code)) + "\" title=\"" +
            HtmlEscape(channel.name) + "\"><i></i><span>" + HtmlEscape(channel.name) + "</span><em>" +
            HtmlEscape(channel.now_showing) + "</em></a></li>";
  }
  if (!first) body += "</ul>";
  return HtmlPage({"电视直播", kListStyle, body, false});
}

std::string RenderTvPlaceholderPage() {
  std::string body = "<div class=\"screen\">";
  body.append(kTvIcon).append("<h1>电视直播</h1><p>请在右侧列表中选择频道</p></div>");
  return HtmlPage({"电视直播", kScreenStyle, body, false});
}

std::string RenderTvPlayerPage(const Catalogue& catalogue, std::string_view raw_query,
                               std::string_view base_url) {
  const TvChannel* channel = catalogue.FindChannel(raw_query);
  std::string body;
  if (channel == nullptr) {
    body = "<div class=\"screen\">";
    body.append(kTvIcon).append("<h1>无信号</h1><p>该频道暂时无法收看</p></div>");
    return HtmlPage({"电视直播", kScreenStyle, body, false});
  }
  body +=
      "<video autoplay loop src=\"" + HtmlEscape(MediaUrl(base_url, channel->media, "web")) + "\"></video>";
  body += "<div class=\"bug\"><b>●</b>" + HtmlEscape(channel->name) + "</div>";
  body += "<div class=\"now\">正在播放：" + HtmlEscape(channel->now_showing) + "</div>";
  return HtmlPage({channel->name, kScreenStyle, body, false});
}

}  // namespace taviro::demo
