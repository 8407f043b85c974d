#include "lists/list_page.h"

#include <optional>
#include <vector>

#include "lists/list_text.h"
#include "util/file_io.h"
#include "util/html_escape.h"
#include "util/script_escape.h"
#include "util/truncate_by_width.h"

namespace taviro {
namespace {

// The rows go between these two. "vd" only keeps a row's colour while it is
// hovered, so its misspelt style hides nothing and needs nothing hidden.
constexpr std::string_view kHeadBeforeRows =
    R"t(<html><head><title></title><style type="text/css">*{margin:0;padding:0;border:0px;})t"
    R"t(body{overflow:auto;background:#212121;}html{scrollbar-face-color:#2A2929;)t"
    R"t(scrollbar-highlight-color:#353434;scrollbar-shadow-color:#000000;)t"
    R"t(scrollbar-3dlight-color:#000000;scrollbar-arrow-color:#515151;)t"
    R"t(scrollbar-track-color:#1F1D1C;scrollbar-darkshadow-color:#201F1E;})t"
    R"t(a:link,a:visited,a:active,a:hover{color:#DBDBDB;text-decoration:none;display:block})t"
    R"t(td{padding-left:3px;height:25px;line-height:25px;font-size:12px;)t"
    R"t(border-bottom:1px solid #161616;color:#DBDBDB;}td img{width:11px;height:11px;)t"
    R"t(margin-top:2px;}</style></head>)t"
    R"t(<body oncontextmenu="return false" ondragstart="return false">)t"
    R"t(<table id="v1" width="99%" cellpadding="0" cellspacing="0" border="0">)t";
constexpr std::string_view kHeadAfterRows = R"t(</table><div style='dispaly:none' id='vd'></div>)t";
// The row hover: highlight, and swap the filler cell for the delete icon.
constexpr std::string_view kScript =
    R"t(<script type="text/javascript">)t"
    "\r\n"
    R"t(var obj=document.getElementById("v1");)t"
    "\r\n"
    R"t(var obj1=document.getElementById("vd");)t"
    "\r\n"
    R"t(for(var i=0;i<obj.rows.length;i++){)t"
    "\r\n"
    R"t(obj.rows[i].onmouseover=function(){obj1.style.background=this.style.backgroundColor;this.style.background='#312D26';this.cells[1].style.display ='block';this.cells[2].style.display = 'none';})t"
    "\r\n"
    R"t(obj.rows[i].onmouseout=function(){this.style.background=obj1.style.background;this.cells[1].style.display = 'none';this.cells[2].style.display = 'block';}})t"
    "\r\n"
    R"t(</script></body></html>)t"
    "\r\n";

// A row is these pieces around the quoted title, the line number (twice)
// and the short title; the titles are written HTML-escaped.
constexpr std::string_view kRowStart = R"t(<tr><td align=left width=95%><a title=")t";
constexpr std::string_view kRowAfterTitle = R"t(" href=open://)t";
constexpr std::string_view kRowAfterNumber = R"t(>·)t";
constexpr std::string_view kRowAfterShort = R"t(</a></td><td width=4% style='display:none'><a href=delk://)t";
constexpr std::string_view kRowEnd = R"t(><img src="i.gif" alt="删除"></a></td><td>&nbsp;</td></tr>)t";
constexpr std::string_view kEmptyListRow = R"t(<tr><td colspan=2 align=center>暂无记录</td></tr>)t";

// Labels longer than this (ASCII counting 1, other characters 2) are cut.
constexpr int kShortTitleWidth = 24;

// Bytes of a row without its texts, to size the page once.
constexpr std::size_t kRowFixedSize = kRowStart.size() + kRowAfterTitle.size() + kRowAfterNumber.size() +
                                      kRowAfterShort.size() + kRowEnd.size() + 2 * 11;

void AppendRow(std::string& out, std::string_view full, std::string_view short_title,
               std::string_view number) {
  out.append(kRowStart);
  AppendHtmlEscaped(out, full);
  out.append(kRowAfterTitle).append(number).append(kRowAfterNumber);
  AppendHtmlEscaped(out, short_title);
  out.append(kRowAfterShort).append(number).append(kRowEnd);
}

}  // namespace

std::string BuildListPage(ListFile file, std::string_view list_text) {
  const std::size_t title_field = file == ListFile::kLocalFiles ? 0 : 1;
  const std::vector<std::string_view> lines = SplitLines(list_text);

  std::string page;
  page.reserve(kHeadBeforeRows.size() + kHeadAfterRows.size() + kScript.size() +
               lines.size() * kRowFixedSize + 2 * list_text.size() + 64);
  page.append(kHeadBeforeRows);
  const std::size_t rows_start = page.size();
  int n = 0;
  for (std::string_view line : lines) {
    ++n;
    if (!IsRecordLine(line)) {
      continue;
    }
    const std::optional<std::string_view> title = ListField(line, title_field);
    if (!title) {
      continue;
    }
    const std::string full = ScriptUnescape(*title);
    const std::string short_title = TruncateByWidth(full, kShortTitleWidth);
    if (short_title.empty()) {
      continue;
    }
    AppendRow(page, full, short_title, std::to_string(n));
  }
  if (page.size() == rows_start) {
    page.append(kEmptyListRow);
  }
  page.append(kHeadAfterRows).append(kScript).append(kCrLf);
  return page;
}

}  // namespace taviro
