#include "app/hand_off_paths.h"

#include <optional>

namespace taviro {
namespace {

constexpr char kSeparator = '\0';
constexpr std::string_view kFileScheme = "file://";
constexpr std::string_view kLocalHost = "localhost";

std::optional<int> HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

std::optional<std::string> PercentDecoded(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return std::nullopt;
    const std::optional<int> high = HexValue(text[i + 1]);
    const std::optional<int> low = HexValue(text[i + 2]);
    if (!high || !low) return std::nullopt;
    out += static_cast<char>(*high * 16 + *low);
    i += 2;
  }
  return out;
}

// The path of one file: address on this machine, when it is one.
std::optional<std::string> LocalPathOf(std::string_view uri) {
  if (uri.size() < kFileScheme.size()) return std::nullopt;
  for (std::size_t i = 0; i < kFileScheme.size(); ++i) {
    const char c = uri[i];
    const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    if (lower != kFileScheme[i]) return std::nullopt;
  }
  const std::string_view rest = uri.substr(kFileScheme.size());
  const std::size_t slash = rest.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const std::string_view host = rest.substr(0, slash);
  if (!host.empty() && host != kLocalHost) return std::nullopt;
  std::optional<std::string> path = PercentDecoded(rest.substr(slash));
  // A NUL cannot be part of a path, and would split the hand-off text.
  if (!path || path->find(kSeparator) != std::string::npos) return std::nullopt;
  return path;
}

}  // namespace

std::string JoinHandOffPaths(const std::vector<std::string>& arguments) {
  std::string text;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (i > 0) text += kSeparator;
    text += arguments[i];
  }
  return text;
}

std::vector<std::string> SplitHandOffPaths(std::string_view text) {
  std::vector<std::string> paths;
  text = text.substr(0, kLongestHandOffText);
  if (text.empty()) return paths;
  std::size_t start = 0;
  while (paths.size() < kMostHandOffPaths) {
    const std::size_t end = text.find(kSeparator, start);
    paths.emplace_back(
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return paths;
}

std::vector<std::string> LocalPathsOfUriList(std::string_view uri_list) {
  std::vector<std::string> paths;
  // A line cut at the length bound is no address: it is left out whole.
  if (uri_list.size() > kLongestHandOffText) {
    uri_list = uri_list.substr(0, uri_list.rfind('\n', kLongestHandOffText) + 1);
  }
  std::size_t start = 0;
  while (start < uri_list.size() && paths.size() < kMostHandOffPaths) {
    std::size_t end = uri_list.find('\n', start);
    if (end == std::string_view::npos) end = uri_list.size();
    std::string_view line = uri_list.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    if (std::optional<std::string> path = LocalPathOf(line)) paths.push_back(std::move(*path));
  }
  return paths;
}

}  // namespace taviro
