// The service's text files (switch file, headlines, notice schedule): any
// reply parses without fault, and what comes out keeps the rules the
// program relies on: no separator inside a field, only web addresses to
// open, bounded lists, sane numbers. Files built from fields give them back.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "property.h"
#include "services/headline_file.h"
#include "services/notice_schedule.h"
#include "services/switch_file.h"

namespace {

using taviro::fuzz::Check;

std::string FieldFrom(FuzzedDataProvider& input, std::string_view forbidden) {
  std::string field = input.ConsumeRandomLengthString(24);
  std::erase_if(field, [forbidden](char c) { return forbidden.find(c) != std::string_view::npos; });
  return field;
}

// Schemes match without regard to case.
bool StartsWithWebScheme(std::string_view link) {
  std::string head(link.substr(0, 8));
  for (char& c : head) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return head.starts_with("http://") || head.starts_with("https://");
}

void CheckAnyReply(const std::string& text) {
  if (const auto switches = taviro::ParseSwitchFile(text)) {
    Check(switches->version.find_first_of("\r\n") == std::string::npos, "a version has no line break", text);
  }
  const std::vector<taviro::Headline> headlines = taviro::ParseHeadlines(text);
  Check(headlines.size() <= taviro::kServiceListLimit, "at most 51 headlines", text);
  for (const taviro::Headline& headline : headlines) {
    Check(headline.text.find("$$$") == std::string::npos && headline.link.find("$$$") == std::string::npos,
          "a headline holds no entry separator", text);
    if (taviro::OpensInBrowser(headline.link)) {
      Check(StartsWithWebScheme(headline.link), "only web addresses open", headline.link);
    }
  }
  if (const auto schedule = taviro::ParseNoticeSchedule(text)) {
    Check(schedule->urls.size() <= taviro::kServiceListLimit, "at most 51 notice pages", text);
    for (const std::string& url : schedule->urls) {
      Check(url.starts_with("http://") && url.find("$$$") == std::string::npos, "notice pages are web pages",
            url);
    }
    Check(schedule->delay != 0 && schedule->stay != 0, "zero delays take their defaults", text);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const int delay = input.ConsumeIntegralInRange(1, 100000);
  const std::string headline = FieldFrom(input, "$|\r\n");
  const std::string link = "http://127.0.0.1/" + FieldFrom(input, "$|\r\n");
  const std::string version = FieldFrom(input, "=\r\n");
  const std::string rest = input.ConsumeRemainingBytesAsString();
  CheckAnyReply(rest);

  // Files as the service writes them.
  if (!headline.empty() && headline.find_first_not_of(" \t") == 0 && headline.back() != ' ') {
    const auto parsed = taviro::ParseHeadlines(headline + "||" + link + "$$$x||*\r\n");
    Check(parsed.size() == 2 && parsed[0].text == headline && parsed[0].link == link,
          "a headline file gives back its entries", headline);
  }
  const auto switches = taviro::ParseSwitchFile("0====1====0====1====1====" + version + "\r\n");
  Check(switches && switches->notice && !switches->pause_panel && switches->ticker &&
            switches->version == version,
        "a switch file gives back its fields", version);
  const auto schedule = taviro::ParseNoticeSchedule(std::to_string(delay) + "||5||1||" + link + "\r\n");
  Check(schedule && schedule->delay == delay && schedule->stay == 5 && schedule->repeat == 1 &&
            schedule->urls == std::vector<std::string>{link},
        "a notice schedule gives back its fields", link);

  // Whatever size the notice page claims, its window keeps to the corner.
  const taviro::ScreenRect area{0, 0, 1920, 1040};
  const taviro::NoticeGeometry place =
      taviro::PlaceNotice(delay - 50000, static_cast<int>(rest.size()), area);
  Check(place.window.right == area.right && place.window.width() >= 1 && place.window.width() <= 800 &&
            place.window.height() >= 1 && place.window.height() <= 600,
        "a notice window keeps to the corner", rest);
  return 0;
}
