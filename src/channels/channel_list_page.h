#pragma once

#include <cstddef>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "channels/channel_list.h"

namespace taviro::channels {

// Which part of the channel list a request of the list page asks for.
struct PageSlice {
  enum class Part { kAll, kStarred, kGroup, kFind };
  Part part = Part::kAll;
  std::string text;  // the group's name (kGroup) or what to look for (kFind)
  std::size_t from = 0;
};

// The page's query: "" (the whole list), "starred=1&from=N",
// "group=NAME&from=N" or "find=TEXT&from=N", percent-encoded.
PageSlice ParseChannelPageQuery(std::string_view query);

struct ChannelPageState {
  std::set<std::string> starred_codes;
  std::set<std::string> hidden_groups;
};

struct PageLimits {
  std::size_t rows_per_group = 200;
  std::size_t rows_per_page = 1'000;  // the whole list's page: groups past it show only their "more" link
};

// The tooltip of a channel's row, from the guide; empty: the channel's name.
using TooltipFor = std::function<std::string(const Channel&)>;

// The channel list page "tv/list.htm" (202 px wide) for `channels` in the
// list's order: the starred channels as a group at the top, then every group
// not hidden, folding, each row a "mitvs://" link with the channel's logo as
// the service serves it ("logo/CODE"), so the page loads nothing from
// elsewhere.
std::string RenderChannelListPage(const std::vector<Channel>& channels, const ChannelPageState& state,
                                  const PageSlice& slice, const TooltipFor& tooltip,
                                  const PageLimits& limits = {});

}  // namespace taviro::channels
