#include "http/page_episode_list.h"

#include <charconv>
#include <vector>

#include "library/html_text.h"
#include "library/link_forms.h"
#include "http/page_frame.h"
#include "util/script_escape.h"

namespace taviro::demo {
namespace {

constexpr std::string_view kListStyle = R"css(
html,body{height:100%}
body{overflow:hidden;font-size:12px}
.head{height:25px;line-height:25px;background:#2a2929;color:#ccc;padding:0 10px;cursor:pointer;
 border-bottom:1px solid #1b1b1b;white-space:nowrap;overflow:hidden}
.head:hover{background:#312d26;color:#fff}
.head.open{color:#f08a24}
.list{display:none;overflow-y:auto;background:#212121}
.list.open{display:block}
.list li{height:22px;line-height:22px;padding:0 10px 0 16px;white-space:nowrap;overflow:hidden}
.list li a{display:block;color:#bbb}
.list li:hover{background:#312d26}
.list li:hover a{color:#fff}
.list li.now{background:#312d26}
.list li.now a{color:#e33;font-weight:bold}
.empty{padding:20px 10px;color:#777;text-align:center}
.series{height:25px;line-height:25px;padding:0 10px;color:#fff;background:#1a1a1a;white-space:nowrap;overflow:hidden}
)css";

// Opens one source at a time and keeps the open list as tall as the
// window allows (every header is 25 px).
constexpr std::string_view kListScript = R"js(
function openSource(t){var n=+document.getElementById('count').value;
for(var i=0;i<n;i++){var m=document.getElementById('m'+i),h=document.getElementById('h'+i);
if(m)m.className=(i==t)?'list open':'list';if(h)h.className=(i==t)?'head open':'head';}
document.getElementById('open').value=t;fit();}
function fit(){try{var n=+document.getElementById('count').value,t=document.getElementById('open').value;
var m=document.getElementById('m'+t);if(!m)return;
var h=document.body.clientHeight-(n*25-1)-2-25;m.style.height=(h>0?h:0)+'px';}catch(e){}}
setInterval(fit,100);
)js";

bool IsNumber(std::string_view text) {
  int value = 0;
  auto [ptr, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && error == std::errc() && ptr == text.data() + text.size();
}

std::vector<std::string_view> SplitOnDash(std::string_view text) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t at = text.find('-'); at != std::string_view::npos; at = text.find('-', start)) {
    parts.push_back(text.substr(start, at - start));
    start = at + 1;
  }
  parts.push_back(text.substr(start));
  return parts;
}

std::string IndexOr(std::string_view text, const char* fallback) {
  return IsNumber(text) ? std::string(text) : std::string(fallback);
}

std::string SourceList(const Series& series, std::size_t s, const EpisodeListQuery& query,
                       std::string_view base_url) {
  const Source& source = series.sources[s];
  const std::string escaped_title = ScriptEscape(ScriptUnescape(query.title));
  const std::string t = std::to_string(s);
  std::string html = "<div class=\"head\" id=\"h" + t + "\" onclick=\"openSource(" + t + ")\">" +
                     HtmlEscape(source.name) + "播放</div><ul class=\"list\" id=\"m" + t + "\">";
  for (std::size_t e = 0; e < source.episodes.size(); ++e) {
    const Episode& episode = source.episodes[e];
    const std::string key = t + std::to_string(e);
    const bool current = query.ly == t && query.did == std::to_string(e);
    const std::string link = ListPlayLink(source.kind, MediaUrl(base_url, episode.media, source.kind),
                                          escaped_title, ScriptEscape(episode.name), series.id, s, e);
    html += "<li id=\"t" + key + "\"" + (current ? " class=\"now\"" : "") + "><a id=\"c" + key +
            "\" href=\"" + HtmlEscape(link) + "\" title=\"" + HtmlEscape(episode.name) + "\">" +
            HtmlEscape(episode.name) + "</a></li>";
  }
  html += "</ul>";
  return html;
}

}  // namespace

EpisodeListQuery ParseEpisodeListQuery(std::string_view query) {
  const std::vector<std::string_view> parts = SplitOnDash(query);
  EpisodeListQuery result;
  result.id = parts[0];
  if (parts.size() > 1) result.ly = parts[1];
  if (parts.size() > 2) result.did = parts[2];
  if (parts.size() == 4) result.title = parts[3];
  if (parts.size() >= 5) {
    for (std::size_t i = 3; i + 1 < parts.size(); ++i) {
      if (i > 3) result.title += '-';
      result.title += parts[i];
    }
    result.cll = parts.back();
  }
  return result;
}

std::string RenderEpisodeListPage(const Catalogue& catalogue, std::string_view raw_query,
                                  std::string_view base_url) {
  EpisodeListQuery query = ParseEpisodeListQuery(raw_query);
  query.ly = IndexOr(query.ly, "0");
  query.did = IndexOr(query.did, "0");
  const Series* series = IsNumber(query.id) ? catalogue.FindSeries(std::stoi(query.id)) : nullptr;
  std::string body;
  if (series == nullptr) {
    body = "<div class=\"empty\">暂无剧集</div>";
    return HtmlPage({"剧集列表", kListStyle, body, true});
  }
  const std::size_t open = std::stoul(query.ly) < series->sources.size() ? std::stoul(query.ly) : 0;
  body += "<div class=\"series\">" + HtmlEscape(ScriptUnescape(query.title)) + "</div>";
  for (std::size_t s = 0; s < series->sources.size(); ++s) body += SourceList(*series, s, query, base_url);
  body += "<input type=\"hidden\" id=\"open\" value=\"" + std::to_string(open) + "\">";
  body += "<input type=\"hidden\" id=\"count\" value=\"" + std::to_string(series->sources.size()) + "\">";
  body += "<script type=\"text/javascript\">";
  body.append(kListScript);
  body += "openSource(" + std::to_string(open) + ");\nvar cll=" + ScriptStringLiteral(query.cll) + ";\n";
  body += "if(cll!='0'){var c=document.getElementById('c'+cll);if(c)c.click();}\n</script>";
  return HtmlPage({"剧集列表", kListStyle, body, true});
}

}  // namespace taviro::demo
