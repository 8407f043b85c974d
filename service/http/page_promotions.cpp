#include "http/page_promotions.h"

#include "library/html_text.h"
#include "http/page_frame.h"
#include "http/poster_art.h"

namespace taviro::demo {
namespace {

constexpr std::string_view kBannerStyle = R"css(
html,body{width:468px;height:60px;overflow:hidden}
.banner{position:relative;width:468px;height:60px;background:linear-gradient(100deg,#3b1f0d,#a8561a 55%,#f08a24);
 display:flex;align-items:center;padding:0 14px;overflow:hidden}
.banner svg{position:absolute;right:-10px;top:-20px;width:140px;height:100px;opacity:.25}
.banner b{font-size:20px;color:#fff;letter-spacing:2px;text-shadow:0 1px 4px rgba(0,0,0,.4)}
.banner span{margin-left:12px;color:#ffe6cc;font-size:12px}
.banner em{margin-left:auto;font-style:normal;background:#fff;color:#c0601a;padding:3px 12px;border-radius:12px;
 font-size:12px;font-weight:bold;z-index:1}
)css";

constexpr std::string_view kHighlightStyle = R"css(
body{padding:10px;font-size:12px}
h1{font-size:14px;color:#f08a24;font-weight:normal;margin-bottom:8px}
.item{display:flex;gap:10px;padding:8px;margin-bottom:8px;background:#2a2929;border-radius:4px}
.item:hover{background:#312d26}
.item .poster.tiny{width:54px;height:74px}.item .poster.tiny .glyph{font-size:26px}
.item .poster.tiny .score,.item .poster.tiny .year{display:none}
.item h2{font-size:13px;color:#fff;font-weight:normal}
.item p{color:#999;display:-webkit-box;-webkit-line-clamp:2;-webkit-box-orient:vertical;overflow:hidden}
.item .rank{color:#ffb83d}
)css";

constexpr std::string_view kPanelStyle = R"css(
html,body{width:450px;height:260px;overflow:hidden}
.panel{width:450px;height:260px;position:relative;background:radial-gradient(circle at 30% 30%,#3a3530,#1c1c1c 70%);
 border:1px solid #333;display:flex;flex-direction:column;align-items:center;justify-content:center}
.panel svg{width:70px;height:70px}
.panel h1{margin-top:12px;font-size:18px;color:#fff;font-weight:normal;letter-spacing:2px}
.panel p{margin-top:6px;color:#aaa}
.panel .tip{position:absolute;left:0;right:0;bottom:0;padding:8px 14px;background:rgba(240,138,36,.15);color:#f0b070;
 font-size:12px}
)css";

constexpr std::string_view kExitStyle = R"css(
body{display:flex;align-items:center;justify-content:center;height:100vh}
.box{text-align:center}.box h1{font-size:20px;color:#fff;font-weight:normal}.box p{color:#999;margin-top:8px}
)css";

}  // namespace

std::string RenderBannerPage() {
  std::string body =
      "<div class=\"banner\"><svg viewBox=\"0 0 140 100\"><circle cx=\"70\" cy=\"50\" r=\"46\" fill=\"none\" "
      "stroke=\"#fff\" stroke-width=\"8\"/><path d=\"M58 28 L92 50 L58 72Z\" fill=\"#fff\"/></svg>"
      "<b>Taviro 影视盒</b><span>海量高清影视 · 边下边播 · 不限速</span><em>立即体验</em></div>";
  return HtmlPage({"Taviro 影视盒", kBannerStyle, body, false});
}

std::string RenderHighlightsPage(const Catalogue& catalogue) {
  std::string body = "<h1>精彩推荐</h1>";
  int rank = 1;
  for (const Series& series : catalogue.series) {
    body += "<div class=\"item\">" + PosterHtml(series, "tiny") + "<div><h2>" + HtmlEscape(series.title) +
            "</h2>";
    body += "<div class=\"rank\">热度第 " + std::to_string(rank++) + " 名 · 评分 " +
            HtmlEscape(series.score) + "</div>";
    body += "<p>" + HtmlEscape(series.summary) + "</p></div></div>";
  }
  return HtmlPage({"精彩推荐", std::string(kPosterStyle) + std::string(kHighlightStyle), body, false});
}

std::string RenderPausePanelPage() {
  std::string body =
      "<div class=\"panel\"><svg viewBox=\"0 0 70 70\"><circle cx=\"35\" cy=\"35\" r=\"33\" "
      "fill=\"rgba(240,138,36,.2)\" "
      "stroke=\"#f08a24\" stroke-width=\"3\"/><rect x=\"24\" y=\"21\" width=\"7\" height=\"28\" "
      "fill=\"#f08a24\"/>"
      "<rect x=\"39\" y=\"21\" width=\"7\" height=\"28\" fill=\"#f08a24\"/></svg>"
      "<h1>已暂停</h1><p>点击播放按钮继续观看</p>"
      "<div class=\"tip\">小提示：按空格键可以暂停或继续播放</div></div>";
  return HtmlPage({"已暂停", kPanelStyle, body, false});
}

std::string RenderExitPage() {
  std::string body = "<div class=\"box\"><h1>感谢使用 Taviro 影视盒</h1><p>下次再见！</p></div>";
  return HtmlPage({"Taviro 影视盒", kExitStyle, body, false});
}

std::string RenderStatisticsReply() { return "<html><body></body></html>"; }

}  // namespace taviro::demo
