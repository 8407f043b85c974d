// Guide entries as an XMLTV reader passes them on: adding never fails, the
// guide keeps to its limits, and now and next always fit the time asked.
#include <cstdint>
#include <string>
#include <vector>

#include "channels/programme_guide.h"
#include "property.h"
#include "util/split_text.h"

namespace {

using taviro::fuzz::Check;
namespace channels = taviro::channels;

constexpr channels::UnixTime kNow = 1733740200;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  channels::ProgrammeGuide guide(kNow, {.max_programmes = 16, .max_per_channel = 4, .max_channels = 4});
  // One entry a line: "id|start|stop|title" for a programme, "id|name" for a channel's name.
  std::vector<std::string> ids;
  for (const std::string_view line : taviro::SplitText(input, "\n")) {
    const std::vector<std::string_view> fields = taviro::SplitText(line, "|");
    if (fields.size() == 2) {
      guide.AddChannelName(fields[0], fields[1]);
    } else if (fields.size() >= 4) {
      guide.AddProgramme(fields[0], fields[1], fields[2], fields[3]);
    }
    if (!fields.empty()) ids.emplace_back(fields[0]);
    if (const auto time = channels::ParseXmltvTime(line)) {
      Check(*time > -62'200'000'000 && *time < 253'500'000'000, "a time lies within years 0 to 9999",
            std::string(line));
    }
  }
  Check(guide.programme_count() <= 16, "the guide keeps to its limit");
  for (const std::string& id : ids) {
    channels::Channel channel;
    channel.name = id;
    channel.guide_id = id;
    for (const channels::UnixTime t : {kNow - 4000, kNow, kNow + 1800, kNow + 90'000}) {
      const auto found = guide.Find(channel, t);
      if (!found) continue;
      Check(found->title.empty() || found->ends > t, "what is on has not ended", id);
      Check(found->next_title.empty() || found->next_starts > t, "what is next starts later", id);
      Check(!channels::GuideTooltip(*found, t).empty(), "a tooltip says something", id);
    }
  }
  return 0;
}
