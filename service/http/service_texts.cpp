#include "http/service_texts.h"

#include "library/html_text.h"
#include "library/link_forms.h"
#include "http/page_frame.h"

namespace taviro::demo {
namespace {

constexpr std::string_view kNoticeStyle = R"css(
body{width:250px;background:#2a2929}
.notice{padding:12px 14px 14px;border-top:3px solid #f08a24}
.notice h1{font-size:14px;color:#fff;font-weight:normal;margin-bottom:6px}
.notice p{color:#bbb;font-size:12px;margin-bottom:10px}
.notice a{display:inline-block;padding:2px 12px;border-radius:3px;background:#f08a24;color:#fff;font-size:12px}
)css";

}  // namespace

std::string SwitchFileText(const Switches& s) {
  return s.exit_promotion + "====" + s.notice + "====" + s.pause_panel + "====" + s.ticker +
         "====" + s.player_panel + "====" + s.version + "\r\n";
}

std::string HeadlineFileText(const std::vector<Headline>& headlines, std::string_view base_url) {
  std::string text;
  for (const Headline& headline : headlines) {
    if (!text.empty()) text += "$$$";
    const bool no_link = headline.link.empty() || headline.link == "*";
    text += headline.text + "||" + (no_link ? headline.link : ServiceAddress(base_url, headline.link));
  }
  return text + "\r\n";
}

std::string NoticeScheduleText(const NoticeSchedule& schedule, std::string_view base_url) {
  std::string text = std::to_string(schedule.delay_seconds) + "||" + std::to_string(schedule.stay_minutes) +
                     "||" + std::to_string(schedule.repeat) + "||";
  for (std::size_t k = 1; k <= schedule.pages.size(); ++k) {
    if (k > 1) text += "$$$";
    text += std::string(base_url) + "notice/" + std::to_string(k) + ".htm";
  }
  return text + "\r\n";
}

std::string RenderNoticePage(const NoticePage& page, std::string_view base_url) {
  std::string body =
      "<div class=\"notice\"><h1>" + HtmlEscape(page.title) + "</h1><p>" + HtmlEscape(page.text) + "</p>";
  if (!page.link.empty()) {
    body +=
        "<a target=\"_blank\" href=\"" + HtmlEscape(ServiceAddress(base_url, page.link)) + "\">去看看</a>";
  }
  body += "</div>";
  return HtmlPage({page.title, kNoticeStyle, body, false});
}

std::string UpdaterBytes() {
  return "#!/bin/sh\n# Taviro demo service: a stand-in for the updater.\necho \"Taviro 2.3 is the newest "
         "version.\"\n";
}

}  // namespace taviro::demo
