#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace taviro::channels {

// One live channel of an M3U/M3U8 list.
struct Channel {
  std::string code;  // stable, unique within the list: [a-z0-9-], safe in "mitvs://" links and URL paths
  std::string name;
  std::string url;  // http(s) only
  std::string group;
  std::string guide_id;    // tvg-id
  std::string guide_name;  // tvg-name
  std::string logo_url;
  std::string user_agent;  // sent when the stream is fetched; empty: the service's own
  std::string referrer;
  bool radio = false;
};

struct ChannelList {
  std::vector<Channel> channels;  // in the list's order
  std::vector<std::string> guide_urls;
  std::size_t refused = 0;  // entries whose address was not http(s)
  bool truncated = false;   // the list was longer than the limits; the rest was not read
  bool was_gb18030 = false;
};

struct ListLimits {
  std::size_t max_bytes = 32U << 20U;
  std::size_t max_channels = 100'000;
};

// `bytes`: the list as fetched, UTF-8 (with or without a BOM) or, when it is
// not valid UTF-8, GB18030/GBK. `list_address` names the list; it goes into
// each channel's code so that two lists naming one stream keep two codes.
// An entry without a scheme in a list from the web is read relative to the
// list's address. Only http(s) addresses are taken from any list, local or remote: the
// channels are fetched by the service, and a list must not make it read
// local files or speak other protocols on its behalf.
ChannelList ParseChannelList(std::string_view bytes, std::string_view list_address,
                             const ListLimits& limits = {});

// True for "http://" and "https://" addresses (the scheme in any case).
bool IsWebAddress(std::string_view url);

}  // namespace taviro::channels
