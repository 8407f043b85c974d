// Channel lists from anywhere: reading one never fails, every channel kept
// is a web stream with a name and a code of its own that is safe in a link,
// and the list page made of them stays well formed for any query.
#include <cstdint>
#include <set>
#include <string>

#include "channels/channel_list.h"
#include "channels/channel_list_page.h"
#include "property.h"
#include "util/utf8.h"

namespace {

using taviro::fuzz::Check;
namespace channels = taviro::channels;

bool IsCodeText(std::string_view code) {
  if (code.size() < 10) return false;
  for (std::size_t i = 0; i < code.size(); ++i) {
    const char c = code[i];
    const bool letter = (c >= 'a' && c <= 'z') || (c >= '2' && c <= '7');
    const bool suffix = i >= 10 && (c == '-' || (c >= '0' && c <= '9'));
    if (!(i < 10 ? letter : suffix)) return false;
  }
  return true;
}

std::size_t Count(std::string_view text, std::string_view part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const channels::ChannelList list =
      channels::ParseChannelList(input, "http://lists/a.m3u", {.max_channels = 64});
  Check(list.channels.size() <= 64, "a list keeps to its limit");
  std::set<std::string> codes;
  for (const channels::Channel& channel : list.channels) {
    Check(channels::IsWebAddress(channel.url), "only web streams are kept", channel.url);
    Check(channel.logo_url.empty() || channels::IsWebAddress(channel.logo_url), "only web logos are kept",
          channel.logo_url);
    Check(IsCodeText(channel.code), "a code is safe in a link", channel.code);
    Check(codes.insert(channel.code).second, "codes are unique", channel.code);
    Check(!channel.name.empty(), "every channel has a name", channel.url);
    for (const std::string* text : {&channel.name, &channel.group, &channel.user_agent, &channel.referrer}) {
      Check(taviro::IsValidUtf8(*text), "texts are UTF-8", *text);
      Check(text->find_first_of("\r\n") == std::string::npos, "texts are one line", *text);
    }
  }
  for (const std::string& guide : list.guide_urls) {
    Check(channels::IsWebAddress(guide), "only web guides are kept", guide);
  }

  // The first line doubles as the page's query.
  const std::string_view query = input.substr(0, input.find('\n'));
  channels::ChannelPageState state;
  if (!list.channels.empty()) state.starred_codes.insert(list.channels.front().code);
  if (list.channels.size() > 1) state.hidden_groups.insert(list.channels[1].group);
  const std::string page =
      channels::RenderChannelListPage(list.channels, state, channels::ParseChannelPageQuery(query), {},
                                      {.rows_per_group = 3, .rows_per_page = 5});
  Check(Count(page, "<script") == 1 && Count(page, "<details") == Count(page, "</details>"),
        "what the list names stays text", std::string(query));
  Check(Count(page, "<li ") <= 5, "a page keeps to its rows", std::string(query));
  Check(taviro::IsValidUtf8(page), "the page is UTF-8", std::string(query));
  return 0;
}
