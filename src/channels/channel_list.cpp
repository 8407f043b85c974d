#include "channels/channel_list.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <utility>

#include "channels/channel_code.h"
#include "channels/channel_text.h"
#include "util/ansi_text.h"
#include "util/utf8.h"

namespace taviro::channels {
namespace {

constexpr std::size_t kMaxNameBytes = 256;
constexpr std::size_t kMaxUrlBytes = 4096;
constexpr std::size_t kMaxHeaderBytes = 512;

struct Attribute {
  std::string_view key;
  std::string_view value;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Reads key=value pairs from `text` (values quoted with " or ', or bare)
// until the end or, with `name_follows`, an unquoted comma; returns where the
// pairs ended. Bare words without "=" are skipped.
template <typename Visit>
std::size_t ReadAttributes(std::string_view text, bool name_follows, Visit visit) {
  std::size_t pos = 0;
  const auto ends_value = [&](char c) { return IsBlank(c) || (name_follows && c == ','); };
  while (pos < text.size()) {
    if (IsBlank(text[pos])) {
      ++pos;
      continue;
    }
    if (name_follows && text[pos] == ',') return pos;
    const std::size_t key_start = pos;
    while (pos < text.size() && !ends_value(text[pos]) && text[pos] != '=') ++pos;
    const std::string_view key = text.substr(key_start, pos - key_start);
    if (pos >= text.size() || text[pos] != '=') continue;
    ++pos;
    std::string_view value;
    if (pos < text.size() && (text[pos] == '"' || text[pos] == '\'')) {
      const std::size_t close = text.find(text[pos], pos + 1);
      const std::size_t end = close == std::string_view::npos ? text.size() : close;
      value = text.substr(pos + 1, end - pos - 1);
      pos = close == std::string_view::npos ? text.size() : close + 1;
    } else {
      const std::size_t value_start = pos;
      while (pos < text.size() && !ends_value(text[pos])) ++pos;
      value = text.substr(value_start, pos - value_start);
    }
    visit(Attribute{key, value});
  }
  return text.size();
}

// Names and headers from the list, one line, no control characters.
std::string CleanText(std::string_view text, std::size_t max_bytes) {
  text = TrimBlanks(text);
  std::string clean = CutUtf8(text, max_bytes);
  for (char& c : clean) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  }
  // A control character written as a space can leave one at either end.
  while (!clean.empty() && clean.back() == ' ') clean.pop_back();
  clean.erase(0, std::min(clean.size(), clean.find_first_not_of(' ')));
  return clean;
}

bool IsCleanUrl(std::string_view url) {
  if (url.size() > kMaxUrlBytes || !IsWebAddress(url)) return false;
  for (const char c : url) {
    if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7F) return false;
  }
  return true;
}

bool StartsFolded(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsFolded(text.substr(0, prefix.size()), prefix);
}

// What the lines before a stream's address said about it.
struct Pending {
  Channel channel;
  std::string extgrp;
};

void ReadExtinf(std::string_view rest, Pending& pending) {
  std::size_t pos = 0;
  while (pos < rest.size() && !IsBlank(rest[pos]) && rest[pos] != ',') ++pos;  // the duration
  rest.remove_prefix(pos);
  Channel& channel = pending.channel;
  const std::size_t comma = ReadAttributes(rest, true, [&channel](const Attribute& a) {
    if (EqualsFolded(a.key, "tvg-id")) {
      channel.guide_id = CleanText(a.value, kMaxNameBytes);
    } else if (EqualsFolded(a.key, "tvg-name")) {
      channel.guide_name = CleanText(a.value, kMaxNameBytes);
    } else if (EqualsFolded(a.key, "tvg-logo") || EqualsFolded(a.key, "logo")) {
      channel.logo_url = IsCleanUrl(a.value) ? std::string(a.value) : std::string();
    } else if (EqualsFolded(a.key, "group-title")) {
      channel.group = CleanText(a.value, kMaxNameBytes);
    } else if (EqualsFolded(a.key, "radio")) {
      channel.radio = EqualsFolded(a.value, "true");
    }
  });
  if (comma < rest.size()) channel.name = CleanText(rest.substr(comma + 1), kMaxNameBytes);
}

void ReadHeader(std::string_view rest, ChannelList& list) {
  ReadAttributes(rest, false, [&list](const Attribute& a) {
    if (!EqualsFolded(a.key, "x-tvg-url") && !EqualsFolded(a.key, "url-tvg")) return;
    std::string_view urls = a.value;
    while (!urls.empty()) {
      const std::size_t comma = urls.find(',');
      const std::string_view url = TrimBlanks(urls.substr(0, comma));
      urls = comma == std::string_view::npos ? std::string_view() : urls.substr(comma + 1);
      if (!IsCleanUrl(url) || list.guide_urls.size() >= 16) continue;
      bool known = false;
      for (const std::string& guide : list.guide_urls) known = known || guide == url;
      if (!known) list.guide_urls.emplace_back(url);
    }
  });
}

// "#EXTVLCOPT:" options and Kodi's "address|User-Agent=…&Referer=…" both set
// the headers a stream wants.
void ReadHeaderOption(std::string_view key, std::string_view value, Channel& channel) {
  if (EqualsFolded(key, "http-user-agent") || EqualsFolded(key, "user-agent")) {
    channel.user_agent = CleanText(value, kMaxHeaderBytes);
  } else if (EqualsFolded(key, "http-referrer") || EqualsFolded(key, "http-referer") ||
             EqualsFolded(key, "referer") || EqualsFolded(key, "referrer")) {
    channel.referrer = CleanText(value, kMaxHeaderBytes);
  }
}

void ReadPipeOptions(std::string_view options, Channel& channel) {
  while (!options.empty()) {
    const std::size_t amp = options.find('&');
    const std::string_view option = options.substr(0, amp);
    options = amp == std::string_view::npos ? std::string_view() : options.substr(amp + 1);
    const std::size_t equals = option.find('=');
    if (equals != std::string_view::npos)
      ReadHeaderOption(option.substr(0, equals), option.substr(equals + 1), channel);
  }
}

// An entry without a scheme in a list fetched from the web names a stream
// beside the list, as a browser would read it; anything else stays as it is.
std::string ResolvedUrl(std::string_view entry, std::string_view list_address) {
  const std::size_t colon = entry.find(':');
  const bool has_scheme = colon != std::string_view::npos && colon < entry.find('/');
  if (has_scheme || entry.empty() || !IsWebAddress(list_address)) return std::string(entry);
  const std::size_t scheme_end = list_address.find("//");
  if (entry.starts_with("//")) return std::string(list_address.substr(0, scheme_end)).append(entry);
  const std::size_t path = list_address.find('/', scheme_end + 2);
  const std::string_view origin = list_address.substr(0, path);
  if (entry.front() == '/') return std::string(origin).append(entry);
  const std::string_view base =
      path == std::string_view::npos
          ? std::string_view()
          : list_address.substr(path, list_address.find_first_of("?#", path) - path);
  return std::string(origin)
      .append(base.substr(0, base.rfind('/') + 1))
      .append(base.empty() ? "/" : "")
      .append(entry);
}

// The same stream listed twice (in two groups, say) stays two rows: its
// second code ends in "-2", and so on in the list's order.
void GiveCodes(std::string_view list_address, std::vector<Channel>& channels) {
  std::vector<std::pair<std::uint64_t, std::size_t>> order;
  order.reserve(channels.size());
  for (std::size_t i = 0; i < channels.size(); ++i) {
    order.emplace_back(ChannelCodeBits(list_address, channels[i].url), i);
  }
  std::sort(order.begin(), order.end());
  std::size_t repeat = 0;
  for (std::size_t i = 0; i < order.size(); ++i) {
    repeat = i > 0 && order[i - 1].first == order[i].first ? repeat + 1 : 1;
    Channel& channel = channels[order[i].second];
    channel.code = ChannelCodeText(order[i].first);
    if (repeat > 1) channel.code += "-" + std::to_string(repeat);
  }
}

// The text to parse: a BOM dropped, cut at a line end within the limit,
// decoded from GB18030 into `decoded` when it is not UTF-8.
std::string_view ListText(std::string_view bytes, const ListLimits& limits, ChannelList& list,
                          std::string& decoded) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  if (bytes.size() > limits.max_bytes) {
    list.truncated = true;
    const std::size_t last_line_end = bytes.substr(0, limits.max_bytes).find_last_of("\r\n");
    bytes = bytes.substr(0, last_line_end == std::string_view::npos ? 0 : last_line_end);
  }
  if (IsValidUtf8(bytes)) return bytes;
  list.was_gb18030 = true;
  decoded = DecodeAnsi(bytes);
  return decoded;
}

}  // namespace

bool IsWebAddress(std::string_view url) {
  return StartsFolded(url, "http://") || StartsFolded(url, "https://");
}

ChannelList ParseChannelList(std::string_view bytes, std::string_view list_address,
                             const ListLimits& limits) {
  ChannelList list;
  std::string decoded;
  const std::string_view text = ListText(bytes, limits, list, decoded);
  // Most lists give two lines a channel.
  const auto expected = std::min<std::size_t>(
      limits.max_channels, static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) / 2 + 1);
  list.channels.reserve(expected);

  Pending pending;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = start;
    while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
    const std::string_view line = TrimBlanks(text.substr(start, end - start));
    start = end + 1;
    if (line.empty()) continue;
    if (line.front() == '#') {
      if (StartsFolded(line, "#EXTINF:")) {
        ReadExtinf(line.substr(8), pending);
      } else if (StartsFolded(line, "#EXTGRP:")) {
        pending.extgrp = CleanText(line.substr(8), kMaxNameBytes);
      } else if (StartsFolded(line, "#EXTVLCOPT:")) {
        const std::string_view option = line.substr(11);
        const std::size_t equals = option.find('=');
        if (equals != std::string_view::npos) {
          ReadHeaderOption(option.substr(0, equals), option.substr(equals + 1), pending.channel);
        }
      } else if (StartsFolded(line, "#EXTM3U")) {
        ReadHeader(line.substr(7), list);
      }
      continue;
    }
    if (list.channels.size() >= limits.max_channels) {
      list.truncated = true;
      break;
    }
    Channel channel = std::move(pending.channel);
    std::string extgrp = std::move(pending.extgrp);
    pending = Pending{};
    const std::size_t pipe = line.find('|');
    const std::string url = ResolvedUrl(line.substr(0, pipe), list_address);
    if (!IsCleanUrl(url)) {
      ++list.refused;
      continue;
    }
    if (pipe != std::string_view::npos) ReadPipeOptions(line.substr(pipe + 1), channel);
    channel.url = url;
    if (channel.group.empty()) channel.group = std::move(extgrp);
    if (channel.name.empty())
      channel.name = channel.guide_name.empty() ? CutUtf8(url, kMaxNameBytes) : channel.guide_name;
    list.channels.push_back(std::move(channel));
  }
  GiveCodes(list_address, list.channels);
  return list;
}

}  // namespace taviro::channels
