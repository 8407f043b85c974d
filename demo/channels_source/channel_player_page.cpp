#include "channels_source/channel_player_page.h"

#include <array>
#include <ctime>

#include "service/html_text.h"

namespace taviro::demo {
namespace {

constexpr std::string_view kHead = R"html(<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>)html";

constexpr std::string_view kStyle = R"css(<style>
*{margin:0;padding:0;box-sizing:border-box}
html,body{height:100%;overflow:hidden;background:#181818;color:#ccc;
 font:13px/1.6 "Noto Sans CJK SC","WenQuanYi Micro Hei",sans-serif}
video{position:absolute;left:0;top:0;width:100%;height:100%;background:#000}
.bug{position:absolute;right:12px;top:10px;z-index:2;color:#fff;padding:2px 10px;border-radius:3px;
 background:rgba(0,0,0,.5)}
.now{position:absolute;left:0;right:0;bottom:0;z-index:2;padding:6px 12px;color:#ddd;font-size:12px;
 background:linear-gradient(transparent,rgba(0,0,0,.75))}
.failed{position:absolute;left:0;right:0;top:45%;z-index:3;text-align:center;font-size:16px;display:none}
body.dead .failed{display:block}
body.dead video{display:none}
</style>)css";

// Ten seconds without a first picture, or an error, shows the failure text.
// The first picture counts as started: without an audio device the web
// view's pipeline decodes but never reaches "playing".
constexpr std::string_view kWatchdog = R"js(<script>
(function(){
var v=document.querySelector('video'),name=document.title,done=false;
function fail(){if(done)return;done=true;document.body.className='dead';document.title=name+' - 无法播放';}
var timer=setTimeout(fail,10000);
function started(){if(done)return;done=true;clearTimeout(timer);document.title=name+' - 播放中';}
v.addEventListener('loadeddata',started);
v.addEventListener('playing',started);
v.addEventListener('error',fail);
})();
</script>)js";

std::string Clock(channels::UnixTime time) {
  const std::time_t value = time;
  std::tm local{};
  localtime_r(&value, &local);
  std::array<char, 8> text{};
  std::strftime(text.data(), text.size(), "%H:%M", &local);
  return text.data();
}

std::string GuideLine(const std::optional<channels::NowAndNext>& on, channels::UnixTime now) {
  if (!on || on->title.empty()) return {};
  std::string line = "正在播放：" + on->title;
  if (on->ends > now) line += "（剩余" + std::to_string((on->ends - now + 59) / 60) + "分钟）";
  if (!on->next_title.empty()) line += "　" + Clock(on->next_starts) + " 下一个：" + on->next_title;
  return line;
}

}  // namespace

std::string RenderChannelPlayerPage(const channels::Channel* channel,
                                    const std::optional<channels::NowAndNext>& on, channels::UnixTime now) {
  std::string page(kHead);
  if (channel == nullptr) {
    page += "电视直播</title>";
    page += kStyle;
    page +=
        "</head><body class=\"dead\"><div class=\"failed\">无信号，该频道暂时无法收看</div></body></html>";
    return page;
  }
  page += HtmlEscape(channel->name) + "</title>";
  page += kStyle;
  page += "</head><body><video autoplay playsinline src=\"" + HtmlEscape(channel->url) + "\"></video>";
  page += "<div class=\"bug\">" + HtmlEscape(channel->name) + "</div>";
  const std::string line = GuideLine(on, now);
  if (!line.empty()) page += "<div class=\"now\" id=\"now\">" + HtmlEscape(line) + "</div>";
  page += "<div class=\"failed\">";
  page += kChannelFailedText;
  page += "</div>";
  page += kWatchdog;
  page += "</body></html>";
  return page;
}

}  // namespace taviro::demo
