#include "helper/download_name.h"

#include <charconv>

#include "util/path_names.h"
#include "util/script_escape.h"
#include "util/utf8.h"

namespace taviro {
namespace {

std::string HttpFileName(std::string_view address) {
  const std::size_t authority = address.find("://");
  std::string_view rest = address.substr(authority + 3);
  const std::size_t path_start = rest.find('/');
  if (path_start == std::string_view::npos) return {};
  std::string_view path = rest.substr(path_start);
  path = path.substr(0, path.find_first_of("?#"));
  return PercentDecoded(path.substr(path.rfind('/') + 1));
}

}  // namespace

std::optional<QvodLink> ParseQvodLink(std::string_view address) {
  if (!address.starts_with(kQvodScheme)) return std::nullopt;
  std::string_view rest = address.substr(kQvodScheme.size());
  std::string_view fields[3];
  for (std::string_view& field : fields) {
    const std::size_t bar = rest.find('|');
    if (bar == std::string_view::npos) return std::nullopt;
    field = rest.substr(0, bar);
    rest.remove_prefix(bar + 1);
  }
  QvodLink link;
  const auto [end, error] = std::from_chars(fields[0].data(), fields[0].data() + fields[0].size(), link.size);
  if (error != std::errc() || end != fields[0].data() + fields[0].size() || link.size < 0)
    return std::nullopt;
  link.hash = fields[1];
  link.name = ScriptUnescape(fields[2]);
  if (link.hash.empty() || link.name.empty()) return std::nullopt;
  return link;
}

std::string FormatQvodLink(const QvodLink& link) {
  return std::string(kQvodScheme) + std::to_string(link.size) + "|" + link.hash + "|" +
         ScriptEscape(link.name) + "|";
}

bool IsSafeFileName(std::string_view name) {
  if (name.empty() || name.size() > kLongestSavedName || name.front() == '.') return false;
  for (const char c : name) {
    if (c == '/' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  }
  return true;
}

std::string MediaFileName(std::string_view address) {
  std::string name;
  if (const std::optional<QvodLink> link = ParseQvodLink(address)) {
    name = link->name;
  } else if (address.starts_with("http://") || address.starts_with("https://")) {
    name = HttpFileName(address);
  }
  return IsSafeFileName(name) ? name : std::string();
}

std::string TitledProgrammeName(std::string_view title) {
  // Well inside the longest safe name: " (12)" and ".mp4" still fit.
  constexpr std::size_t kLongestTitle = 150;
  std::string kept;
  for (char32_t c : DecodeUtf8(title)) {
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) continue;
    if (c == U'/' || c == U'\\') c = U'-';
    if (kept.empty() && (c == U'.' || c == U' ')) continue;
    const std::size_t before = kept.size();
    AppendUtf8(kept, c);
    if (kept.size() > kLongestTitle) {
      kept.resize(before);
      break;
    }
  }
  while (kept.ends_with(' ')) kept.pop_back();
  if (kept.empty()) return {};
  kept += ".mp4";
  return IsSafeFileName(kept) ? kept : std::string();
}

std::vector<std::string> DownloadFilesOf(std::string_view name) {
  const std::string base(name);
  return {base, base + std::string(kPartialSuffix), base + std::string(kRangesSuffix)};
}

}  // namespace taviro
