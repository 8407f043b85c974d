#include "http/page_catalogue.h"

#include "library/html_text.h"
#include "library/library_page.h"
#include "library/link_forms.h"
#include "http/page_frame.h"
#include "http/poster_art.h"
#include "util/script_escape.h"

namespace taviro::demo {
namespace {

constexpr std::string_view kCatalogueStyle = R"css(
.top{height:46px;background:#1a1a1a;border-bottom:1px solid #2e2e2e;display:flex;align-items:center;padding:0 16px}
.logo{display:flex;align-items:center;font-size:17px;font-weight:bold;color:#fff;letter-spacing:1px}
.logo svg{width:24px;height:24px;margin-right:8px}
.nav{display:flex;margin-left:26px}
.nav a{padding:0 12px;line-height:46px;color:#aaa}
.nav a.on,.nav a:hover{color:#fff;box-shadow:inset 0 -2px 0 #f08a24}
.search{margin-left:auto;width:170px;height:26px;border-radius:13px;background:#2b2b2b;color:#777;
 border:1px solid #3a3a3a;padding:0 12px;line-height:24px;font-size:12px}
.wrap{padding:16px}
.hero{display:flex;gap:18px;padding:16px;border-radius:6px;background:linear-gradient(90deg,#2c2a26,#212121)}
.hero h1{font-size:22px;color:#fff;font-weight:normal}
.hero .meta{color:#999;margin:4px 0 8px}
.hero p{color:#bbb;max-width:520px}
.btn{display:inline-block;margin-top:14px;padding:6px 20px;border-radius:3px;background:#f08a24;color:#fff}
.btn:hover{background:#ff9c3b}
.btn.ghost{background:transparent;border:1px solid #555;color:#ccc;cursor:pointer}
.btn+.btn{margin-left:8px}
.hero .btn{margin-bottom:8px}
h2{font-size:15px;color:#eee;font-weight:normal;margin:22px 0 12px;padding-left:8px;border-left:3px solid #f08a24}
.grid{display:grid;grid-template-columns:repeat(auto-fill,minmax(330px,1fr));gap:14px}
.card{display:flex;gap:12px;padding:12px;background:#2a2929;border-radius:5px}
.card:hover{background:#312d26}
.info{flex:1;min-width:0}
.info h3{font-size:15px;color:#fff;font-weight:normal;white-space:nowrap;overflow:hidden;text-overflow:ellipsis}
.info h3 a:hover{color:#f08a24}
.info .meta{color:#888;font-size:12px}
.info .sum{color:#aaa;font-size:12px;margin:4px 0 6px;display:-webkit-box;-webkit-line-clamp:2;
 -webkit-box-orient:vertical;overflow:hidden}
.src{margin-top:4px}
.src b{display:block;font-weight:normal;color:#999;font-size:12px}
.eps a{display:inline-block;min-width:28px;margin:3px 3px 0 0;padding:0 5px;text-align:center;font-size:12px;
 line-height:20px;border-radius:2px;background:#383636;color:#ccc}
.eps a:hover{background:#f08a24;color:#fff}
.eps.wide a{min-width:72px}
.foot{margin-top:24px;padding:14px;text-align:center;color:#666;font-size:12px;border-top:1px solid #2e2e2e}
)css";

constexpr std::string_view kLogo =
    "<svg viewBox=\"0 0 24 24\"><circle cx=\"12\" cy=\"12\" r=\"11\" fill=\"#f08a24\"/>"
    "<path d=\"M9.5 7.5 L17 12 L9.5 16.5Z\" fill=\"#fff\"/></svg>";

std::string TopBar(std::string_view active) {
  std::string html = "<div class=\"top\"><a class=\"logo\" href=\"/\">";
  html.append(kLogo).append("Taviro 影视</a><div class=\"nav\">");
  for (std::string_view item : {"首页", "电视剧", "电影", "综艺", "动漫"}) {
    html += item == active ? "<a class=\"on\" href=\"/\">" : "<a href=\"/\">";
    html.append(item).append("</a>");
  }
  html += "</div><div class=\"search\">搜索片名、演员</div></div>";
  return html;
}

std::string MetaLine(const Series& series) {
  std::string meta = std::to_string(series.year) + " · " + series.area + " · " + series.genre;
  return HtmlEscape(meta);
}

// Episode buttons of every source; a short label on the home page, the
// episode's own name on the series page.
std::string SourceBlocks(const Series& series, bool full_names) {
  std::string html;
  for (std::size_t s = 0; s < series.sources.size(); ++s) {
    const Source& source = series.sources[s];
    html += "<div class=\"src\"><b>" + HtmlEscape(source.name) + "</b><div class=\"eps";
    html += full_names ? " wide\">" : "\">";
    for (std::size_t e = 0; e < source.episodes.size(); ++e) {
      const std::string& name = source.episodes[e].name;
      const std::string label = full_names ? name : std::to_string(e + 1);
      html += "<a href=\"" + HtmlEscape(CatalogueLink(series.id, s, e, series.title)) + "\" title=\"" +
              HtmlEscape(name) + "\">" + HtmlEscape(label) + "</a>";
    }
    html += "</div></div>";
  }
  return html;
}

// The episode data the program copies into its local episode-list page,
// and the call that asks it to show that page. The call exists only when
// the page runs inside the program; elsewhere it does nothing.
std::string EpisodeDataScript(const Series& series, std::string_view base_url) {
  std::string script = "<script type=\"text/javascript\">\nvar VideoInfoList=";
  script += ScriptStringLiteral(VideoInfoListText(series, base_url));
  script += ";\nvar VideoTitle=" + ScriptStringLiteral(ScriptEscape(series.title));
  script += ";\nvar VideoId=" + std::to_string(series.id) + ";\n";
  script +=
      "function showEpisodes(){try{window.external.DangJ(VideoTitle,VideoId,0,0);}catch(e){}}\n"
      "</script>";
  return script;
}

std::string Card(const Series& series) {
  std::string html = "<div class=\"card\">" + PosterHtml(series, "small") + "<div class=\"info\">";
  html +=
      "<h3><a href=\"vod/" + std::to_string(series.id) + ".htm\">" + HtmlEscape(series.title) + "</a></h3>";
  html += "<div class=\"meta\">" + MetaLine(series) + "</div>";
  html += "<div class=\"sum\">" + HtmlEscape(series.summary) + "</div>";
  html += SourceBlocks(series, false);
  html += "</div></div>";
  return html;
}

std::string Hero(const Series& series) {
  std::string html = "<div class=\"hero\">" + PosterHtml(series, "large") + "<div>";
  html += "<h1>" + HtmlEscape(series.title) + "</h1><div class=\"meta\">" + MetaLine(series) + "</div>";
  html += "<p>" + HtmlEscape(series.summary) + "</p>";
  html += "<a class=\"btn\" href=\"" + HtmlEscape(CatalogueLink(series.id, 0, 0, series.title)) +
          "\">立即播放</a>";
  html += "<a class=\"btn ghost\" onclick=\"showEpisodes();return false;\" href=\"#\">选集列表</a>";
  html += "</div></div>";
  return html;
}

constexpr std::string_view kFooter = "<div class=\"foot\">Taviro 演示影视库 · 所有影片均为演示样片</div>";

}  // namespace

std::string RenderHomePage(const Catalogue& catalogue, std::string_view base_url,
                           std::string_view library_section, bool library_first) {
  std::string body = TopBar("首页") + "<div class=\"wrap\">";
  if (library_first) body.append(library_section);
  if (!catalogue.series.empty()) body += Hero(catalogue.series.front());
  if (!catalogue.series.empty()) {
    body += "<h2>热播剧集</h2><div class=\"grid\">";
    for (const Series& series : catalogue.series) body += Card(series);
    body += "</div>";
  }
  if (!library_first) body.append(library_section);
  body.append(kFooter).append("</div>");
  if (!catalogue.series.empty()) body += EpisodeDataScript(catalogue.series.front(), base_url);
  std::string style = std::string(kPosterStyle) + std::string(kCatalogueStyle);
  if (!library_section.empty()) style += kLibraryStyle;
  return HtmlPage({"Taviro 影视 - 首页", style, body, false});
}

std::string RenderSeriesPage(const Series& series, std::string_view base_url) {
  std::string body =
      TopBar("电视剧") + "<div class=\"wrap\"><div class=\"hero\">" + PosterHtml(series, "large");
  body += "<div class=\"info\"><h1>" + HtmlEscape(series.title) + "</h1>";
  body += "<div class=\"meta\">" + MetaLine(series) + "</div><p>" + HtmlEscape(series.summary) + "</p>";
  body += "<a class=\"btn ghost\" onclick=\"showEpisodes();return false;\" href=\"#\">选集列表</a>";
  body += SourceBlocks(series, true);
  body += "</div></div>";
  body.append(kFooter).append("</div>");
  body += EpisodeDataScript(series, base_url);
  const std::string style = std::string(kPosterStyle) + std::string(kCatalogueStyle);
  return HtmlPage({series.title + " - Taviro 影视", style, body, false});
}

}  // namespace taviro::demo
