#include "library/library_page.h"

#include <algorithm>

#include "library/html_text.h"
#include "library/link_forms.h"

namespace taviro::catalogue {
namespace {

// A long series shows its first episodes on the home page and all of them
// on its own page: a page of a thousand-episode series stays small.
constexpr std::size_t kEpisodesOnACard = 30;

// Cards are shown or hidden by the filter box as the user types; the
// progress line asks the service again while a scan runs.
constexpr std::string_view kLibraryScript = R"js(<script type="text/javascript">
function libraryFilter(box){var q=box.value.toLowerCase();var cards=document.querySelectorAll('.lib-card');
for(var i=0;i<cards.length;i++){cards[i].style.display=
cards[i].getAttribute('data-title').toLowerCase().indexOf(q)<0?'none':'';}}
(function(){var line=document.getElementById('lib-progress');if(!line||!line.textContent)return;
function ask(){var r=new XMLHttpRequest();r.open('GET','library/progress');r.onload=function(){
line.textContent=r.responseText;if(r.responseText)setTimeout(ask,1000);};r.send();}setTimeout(ask,1000);})();
</script>)js";

std::string EpisodeCount(const LibraryTitle& title) {
  if (title.series.genre == "电影") return title.series.year > 0 ? std::to_string(title.series.year) : "电影";
  std::string text = "共" + std::to_string(title.episode_count) + "集";
  if (title.series.year > 0) text += " · " + std::to_string(title.series.year);
  return text;
}

std::string Card(const LibraryTitle& title, bool has_poster) {
  const Series& series = title.series;
  const std::string page = "vod/" + std::to_string(series.id) + ".htm";
  std::string html = "<div class=\"card lib-card\" data-title=\"" + HtmlEscape(series.title) + "\">";
  html += "<a href=\"" + page + "\" tabindex=\"-1\">";
  html += has_poster ? "<img class=\"lib-poster\" alt=\"\" src=\"library/poster/" +
                           std::to_string(series.id) + ".jpg\">"
                     : "<span class=\"lib-poster\"></span>";
  html += "</a><div class=\"info\"><h3><a href=\"" + page + "\">" + HtmlEscape(series.title) + "</a></h3>";
  html += "<div class=\"meta\">" + HtmlEscape(EpisodeCount(title)) + "</div>";
  html += "<div class=\"sum\">" + HtmlEscape(series.summary) + "</div>";
  for (std::size_t s = 0; s < series.sources.size(); ++s) {
    const Source& source = series.sources[s];
    html += "<div class=\"src\">";
    if (series.sources.size() > 1) html += "<b>" + HtmlEscape(source.name) + "</b>";
    html += "<div class=\"eps\">";
    const std::size_t shown = std::min(source.episodes.size(), kEpisodesOnACard);
    for (std::size_t e = 0; e < shown; ++e) {
      const std::string label = series.genre == "电影" ? "播放" : std::to_string(e + 1);
      html += "<a href=\"" + HtmlEscape(CatalogueLink(series.id, s, e, series.title)) + "\" title=\"" +
              HtmlEscape(source.episodes[e].name) + "\">" + label + "</a>";
    }
    if (shown < source.episodes.size()) html += "<a href=\"" + page + "\">全部</a>";
    html += "</div></div>";
  }
  return html + "</div></div>";
}

std::string FolderList(const LibraryView& view, bool scanning) {
  std::string html = "<div class=\"lib-folders\">正在查看的文件夹：<ul>";
  for (const WatchedFolder& folder : view.folders) {
    html += "<li>" + HtmlEscape(folder.path);
    if (folder.missing) {
      html += "（文件夹不存在）";
    } else if (!folder.readable && !scanning) {
      html += "（无法读取）";
    }
    if (folder.kept) {
      html +=
          "<form method=\"post\" accept-charset=\"utf-8\" action=\"library/folders\"><input type=\"hidden\" "
          "name=\"folder\" value=\"" +
          HtmlEscape(folder.path) + "\"><button name=\"action\" value=\"remove\">移除</button></form>";
    }
    html += "</li>";
  }
  html +=
      "</ul><form class=\"lib-add\" method=\"post\" accept-charset=\"utf-8\" "
      "action=\"library/folders\">添加文件夹："
      "<input name=\"folder\" placeholder=\"/home/用户/影片\" aria-label=\"文件夹路径\">"
      "<button name=\"action\" value=\"add\">添加</button></form></div>";
  return html;
}

}  // namespace

std::string ProgressText(const LibraryProgress& progress) {
  if (!progress.scanning) return {};
  std::string text = "正在扫描：已找到 " + std::to_string(progress.files_seen) + " 个文件";
  if (progress.to_probe > 0) {
    text += "，已读取 " + std::to_string(progress.probed) + " / " + std::to_string(progress.to_probe);
  }
  return text;
}

std::string RenderLibrarySection(const LibraryView& view, const LibraryProgress& progress) {
  std::string html =
      "<div class=\"lib-bar\"><h2>本地影视库</h2><input type=\"search\" placeholder=\"筛选片名\" "
      "aria-label=\"筛选片名\" oninput=\"libraryFilter(this)\"><span class=\"lib-progress\" "
      "id=\"lib-progress\">" +
      HtmlEscape(ProgressText(progress)) + "</span></div>";
  if (view.titles.empty()) {
    html += "<div class=\"lib-empty\">";
    html += progress.scanning ? "正在查找影片……"
                              : "还没有影片。把影片放进下面的文件夹，或添加一个放着影片的文件夹。";
    html += "</div>";
  } else {
    html += "<div class=\"grid\">";
    for (const LibraryTitle& title : view.titles) html += Card(title, view.posters.contains(title.series.id));
    html += "</div>";
  }
  html += FolderList(view, progress.scanning);
  html.append(kLibraryScript);
  return html;
}

}  // namespace taviro::catalogue
