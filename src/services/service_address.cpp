#include "services/service_address.h"

#include <algorithm>
#include <charconv>

namespace taviro {
namespace {

constexpr std::string_view kLoopbackPrefix = "http://127.0.0.1:";
constexpr std::size_t kShortestKey = 32;
constexpr std::size_t kLongestKey = 128;

bool IsLowerHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

}  // namespace

std::string EndOfPlayAddress(std::string_view base) {
  std::string address(base);
  address += kEndOfPlayPath;
  return address;
}

std::optional<std::string> GivenServiceBase(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  if (!text.starts_with("http://") && !text.starts_with("https://")) return std::nullopt;
  std::string base(text);
  if (!base.ends_with('/')) base += '/';
  return base;
}

std::optional<std::string> ParseOwnServiceAddress(std::string_view line) {
  if (line.ends_with('\n')) line.remove_suffix(1);
  if (!line.starts_with(kLoopbackPrefix)) return std::nullopt;
  std::string_view rest = line.substr(kLoopbackPrefix.size());
  const std::size_t slash = rest.find('/');
  if (slash == std::string_view::npos || slash == 0 || slash > 5 || rest[0] == '0') return std::nullopt;
  int port = 0;
  const auto [end, error] = std::from_chars(rest.data(), rest.data() + slash, port);
  if (error != std::errc() || end != rest.data() + slash || port < 1 || port > 65535) return std::nullopt;
  const std::string_view key = rest.substr(slash + 1);
  if (!key.ends_with('/')) return std::nullopt;
  const std::string_view digits = key.substr(0, key.size() - 1);
  if (digits.size() < kShortestKey || digits.size() > kLongestKey ||
      !std::all_of(digits.begin(), digits.end(), IsLowerHex)) {
    return std::nullopt;
  }
  return std::string(line);
}

}  // namespace taviro
