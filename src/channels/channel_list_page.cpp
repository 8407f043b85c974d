#include "channels/channel_list_page.h"

#include <algorithm>
#include <unordered_map>

#include "channels/channel_text.h"
#include "util/html_escape.h"
#include "util/utf8.h"

namespace taviro::channels {
namespace {

constexpr std::string_view kUngrouped = "未分组";
constexpr std::string_view kStarredTitle = "收藏";

constexpr std::string_view kHead = R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>电视直播</title>
<style type="text/css">
body{margin:0;width:202px;overflow-x:hidden;font:12px sans-serif;background:#212121;color:#ccc}
a{color:inherit;text-decoration:none}
form{margin:0;padding:4px 6px;background:#1b1b1b}
#q{box-sizing:border-box;width:100%;height:22px;border:1px solid #333;background:#2a2929;color:#ddd}
summary{height:26px;line-height:26px;padding:0 6px 0 10px;background:#2a2929;color:#f08a24;cursor:pointer;
 border-bottom:1px solid #1b1b1b;white-space:nowrap;overflow:hidden}
summary .hide{float:right;color:#777}
ul{list-style:none;margin:0;padding:0}
li{display:flex;align-items:center;height:30px;border-bottom:1px solid #262626}
li:hover{background:#312d26;color:#fff}
li .ch{flex:1;display:flex;align-items:center;min-width:0;height:30px;padding-left:8px}
li img,li i{flex:none;width:24px;height:18px;margin-right:6px;object-fit:contain}
li span{white-space:nowrap;overflow:hidden;text-overflow:ellipsis}
li .star{flex:none;width:22px;text-align:center;color:#555}
li .star.on{color:#f08a24}
.more,.back,.shown{display:block;padding:6px 10px;color:#f08a24}
.shown{color:#777}
</style></head>
<body><form action="list.htm"><input id="q" name="find" type="search" placeholder="搜索频道" autocomplete="off"></form>
)";

// Typing filters the rows shown at once; Enter asks the service to look
// through the whole list.
constexpr std::string_view kFilterScript = R"(<script>
document.getElementById('q').addEventListener('input',function(){
var q=this.value.toLowerCase().replace(/\s/g,'');
document.querySelectorAll('li').forEach(function(li){li.style.display=li.dataset.k.indexOf(q)<0?'none':'';});
if(q)document.querySelectorAll('details').forEach(function(d){d.open=true;});});
</script>
)";

std::string PercentEncoded(std::string_view text) {
  constexpr std::string_view kHex = "0123456789ABCDEF";
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
        c == '.' || c == '~') {
      out += c;
    } else {
      out += '%';
      out += kHex[byte >> 4U];
      out += kHex[byte & 15U];
    }
  }
  return out;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentDecoded(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int high = i + 2 < text.size() && text[i] == '%' ? HexValue(text[i + 1]) : -1;
    const int low = high >= 0 ? HexValue(text[i + 2]) : -1;
    if (low >= 0) {
      out += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      out += text[i] == '+' ? ' ' : text[i];
    }
  }
  return out;
}

std::size_t RowNumber(std::string_view text) {
  std::size_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') break;
    value = std::min<std::size_t>(value * 10 + static_cast<std::size_t>(c - '0'), 100'000'000);
  }
  return value;
}

struct Group {
  std::string_view name;
  std::vector<const Channel*> rows;
};

// The groups in the order the list first names them.
std::vector<Group> GroupsInListOrder(const std::vector<Channel>& channels) {
  std::vector<Group> groups;
  std::unordered_map<std::string_view, std::size_t> index;
  for (const Channel& channel : channels) {
    const std::string_view name = channel.group.empty() ? kUngrouped : std::string_view(channel.group);
    const auto [at, added] = index.try_emplace(name, groups.size());
    if (added) groups.push_back({name, {}});
    groups[at->second].rows.push_back(&channel);
  }
  return groups;
}

class PageWriter {
 public:
  PageWriter(const ChannelPageState& state, const TooltipFor& tooltip) : state_(state), tooltip_(tooltip) {}

  void Rows(const std::vector<const Channel*>& rows, std::size_t from, std::size_t count) {
    out_ += "<ul>";
    for (std::size_t i = from; i < std::min(rows.size(), from + count); ++i) Row(*rows[i]);
    out_ += "</ul>";
  }

  void Row(const Channel& channel) {
    const std::string tip = tooltip_ ? tooltip_(channel) : std::string();
    const bool starred = state_.starred_codes.contains(channel.code);
    out_ += "<li data-k=\"";
    AppendHtmlEscaped(out_, NameKey(channel.name));
    out_ += "\"><a class=\"ch\" href=\"mitvs://" + channel.code + "\" title=\"";
    AppendHtmlEscaped(out_, tip.empty() ? channel.name : tip);
    out_ += "\">";
    out_ += channel.logo_url.empty() ? "<i></i>"
                                     : "<img src=\"logo/" + channel.code + "\" alt=\"\" loading=\"lazy\">";
    out_ += "<span>";
    AppendHtmlEscaped(out_, channel.name);
    out_ += "</span></a><a class=\"star";
    out_ += starred ? " on\" title=\"取消收藏\" href=\"unstar.htm?" : "\" title=\"收藏\" href=\"star.htm?";
    out_ += channel.code + (starred ? "\">★</a></li>" : "\">☆</a></li>");
  }

  // A link to the rows of a part from `from` on.
  void More(std::string_view query, std::size_t from, std::size_t left) {
    out_ += "<a class=\"more\" href=\"list.htm?";
    out_ += query;
    out_ += "&amp;from=" + std::to_string(from) + "\">更多（" + std::to_string(left) + "）</a>";
  }

  void Summary(std::string_view name, std::size_t count, bool hideable) {
    out_ += "<summary>";
    AppendHtmlEscaped(out_, name);
    out_ += " (" + std::to_string(count) + ")";
    if (hideable) {
      out_ += "<a class=\"hide\" title=\"隐藏分组\" href=\"hide.htm?group=";
      out_ += PercentEncoded(name) + "\">×</a>";
    }
    out_ += "</summary>";
  }

  std::string& out() { return out_; }

 private:
  const ChannelPageState& state_;
  const TooltipFor& tooltip_;
  std::string out_;
};

// One part of the list on a page of its own, with a way back.
void WritePart(PageWriter& writer, std::string_view title, const std::vector<const Channel*>& rows,
               std::string_view query, std::size_t from, std::size_t count) {
  std::string& out = writer.out();
  out += "<a class=\"back\" href=\"list.htm\">‹ ";
  AppendHtmlEscaped(out, title);
  out += "</a>";
  writer.Rows(rows, from, count);
  if (from + count < rows.size()) writer.More(query, from + count, rows.size() - from - count);
}

void WriteWholeList(PageWriter& writer, const std::vector<Group>& groups,
                    const std::vector<const Channel*>& starred, const ChannelPageState& state,
                    const PageLimits& limits) {
  std::string& out = writer.out();
  std::size_t budget = limits.rows_per_page;
  const auto write_group = [&](std::string_view name, const std::vector<const Channel*>& rows,
                               std::string_view query, bool open, bool hideable) {
    out += open ? "<details open>" : "<details>";
    writer.Summary(name, rows.size(), hideable);
    const std::size_t shown = std::min({rows.size(), limits.rows_per_group, budget});
    budget -= shown;
    writer.Rows(rows, 0, shown);
    if (shown < rows.size()) writer.More(query, shown, rows.size() - shown);
    out += "</details>";
  };
  if (!starred.empty()) write_group(kStarredTitle, starred, "starred=1", true, false);
  std::vector<std::string_view> hidden;
  bool open = starred.empty();  // the first group is open when nothing is starred
  for (const Group& group : groups) {
    if (state.hidden_groups.contains(std::string(group.name))) {
      hidden.push_back(group.name);
      continue;
    }
    write_group(group.name, group.rows, "group=" + PercentEncoded(group.name), open, true);
    open = false;
  }
  if (hidden.empty()) return;
  out += "<p class=\"shown\">已隐藏的分组：";
  for (const std::string_view name : hidden) {
    out += "<a href=\"show.htm?group=" + PercentEncoded(name) + "\">";
    AppendHtmlEscaped(out, name);
    out += "</a> ";
  }
  out += "</p>";
}

}  // namespace

PageSlice ParseChannelPageQuery(std::string_view query) {
  PageSlice slice;
  while (!query.empty()) {
    const std::size_t amp = query.find('&');
    const std::string_view pair = query.substr(0, amp);
    query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
    const std::size_t equals = pair.find('=');
    const std::string_view key = pair.substr(0, equals);
    const std::string_view value =
        equals == std::string_view::npos ? std::string_view() : pair.substr(equals + 1);
    if (key == "from") {
      slice.from = RowNumber(value);
    } else if (key == "starred") {
      slice.part = PageSlice::Part::kStarred;
    } else if (key == "group" || key == "find") {
      slice.part = key == "group" ? PageSlice::Part::kGroup : PageSlice::Part::kFind;
      // Decoded bytes that are no UTF-8 become U+FFFD before they reach the page.
      slice.text = CutUtf8(EncodeUtf8(DecodeUtf8(PercentDecoded(value))), 256);
    }
  }
  if (slice.part == PageSlice::Part::kFind && NameKey(slice.text).empty()) slice = PageSlice{};
  return slice;
}

std::string RenderChannelListPage(const std::vector<Channel>& channels, const ChannelPageState& state,
                                  const PageSlice& slice, const TooltipFor& tooltip,
                                  const PageLimits& limits) {
  const std::vector<Group> groups = GroupsInListOrder(channels);
  std::vector<const Channel*> starred;
  for (const Channel& channel : channels) {
    if (state.starred_codes.contains(channel.code)) starred.push_back(&channel);
  }
  PageWriter writer(state, tooltip);
  writer.out() = kHead;
  const std::size_t count = limits.rows_per_group;
  switch (slice.part) {
    case PageSlice::Part::kAll: WriteWholeList(writer, groups, starred, state, limits); break;
    case PageSlice::Part::kStarred:
      WritePart(writer, kStarredTitle, starred, "starred=1", slice.from, count);
      break;
    case PageSlice::Part::kGroup: {
      const auto found =
          std::find_if(groups.begin(), groups.end(), [&](const Group& g) { return g.name == slice.text; });
      const std::vector<const Channel*> none;
      WritePart(writer, slice.text, found == groups.end() ? none : found->rows,
                "group=" + PercentEncoded(slice.text), slice.from, count);
      break;
    }
    case PageSlice::Part::kFind: {
      const std::string key = NameKey(slice.text);
      std::vector<const Channel*> found;
      for (const Channel& channel : channels) {
        if (NameKey(channel.name).find(key) != std::string::npos) found.push_back(&channel);
      }
      WritePart(writer, slice.text, found, "find=" + PercentEncoded(slice.text), slice.from, count);
      break;
    }
  }
  writer.out() += kFilterScript;
  writer.out() += "</body></html>\n";
  return std::move(writer.out());
}

}  // namespace taviro::channels
