#include "helper/media_request.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <vector>

#include "util/file_io.h"

namespace taviro::helper {
namespace {

constexpr std::string_view kItemPrefix = "/item/";
constexpr std::size_t kTokenLength = 32;

template <typename Number>
std::optional<Number> Parse(std::string_view text, int base = 10) {
  Number value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

bool SameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
    text.remove_suffix(1);
  return text;
}

// "bytes=a-b", "bytes=a-" or "bytes=-n"; several ranges are not offered.
void ReadRange(std::string_view value, MediaRequest& request) {
  // A later Range header replaces an earlier one whole, never half of it.
  request.first.reset();
  request.last.reset();
  request.suffix.reset();
  constexpr std::string_view kUnit = "bytes=";
  if (!value.starts_with(kUnit)) return;
  value.remove_prefix(kUnit.size());
  const std::size_t dash = value.find('-');
  if (dash == std::string_view::npos) return;
  const std::string_view from = value.substr(0, dash);
  const std::string_view to = value.substr(dash + 1);
  if (from.empty()) {
    const auto suffix = Parse<std::int64_t>(to);
    if (suffix && *suffix > 0) request.suffix = suffix;
    return;
  }
  const auto first = Parse<std::int64_t>(from);
  if (!first || *first < 0) return;
  if (to.empty()) {
    request.first = first;
    return;
  }
  const auto last = Parse<std::int64_t>(to);
  if (!last || *last < *first) return;
  request.first = first;
  request.last = last;
}

bool ReadRequestLine(std::string_view line, MediaRequest& request) {
  const std::size_t space = line.find(' ');
  const std::size_t second = line.find(' ', space == std::string_view::npos ? space : space + 1);
  if (space == std::string_view::npos || second == std::string_view::npos) return false;
  const std::string_view method = line.substr(0, space);
  const std::string_view target = line.substr(space + 1, second - space - 1);
  const std::string_view version = Trimmed(line.substr(second + 1));
  if (method != "GET" && method != "HEAD") return false;
  if (version != "HTTP/1.1" && version != "HTTP/1.0") return false;
  if (!target.starts_with(kItemPrefix)) return false;
  const std::string_view rest = target.substr(kItemPrefix.size());
  const std::size_t slash = rest.find('/');
  const std::string_view token = rest.substr(0, slash);
  if (token.size() != kTokenLength || !std::all_of(token.begin(), token.end(), [](char c) {
        return std::isxdigit(static_cast<unsigned char>(c));
      })) {
    return false;
  }
  request.head_only = method == "HEAD";
  request.token = std::string(token);
  if (slash != std::string_view::npos) request.path = std::string(rest.substr(slash + 1));
  return true;
}

}  // namespace

std::optional<MediaRequest> ParseMediaRequest(std::string_view head) {
  const std::vector<std::string_view> lines = SplitLines(head);
  if (lines.empty()) return std::nullopt;
  MediaRequest request;
  if (!ReadRequestLine(lines.front(), request)) return std::nullopt;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string_view name = line.substr(0, colon);
    const std::string_view value = Trimmed(line.substr(colon + 1));
    if (SameLetters(name, "host")) {
      // Two Host headers are one too many: the request is not taken.
      if (!request.host.empty()) return std::nullopt;
      request.host = std::string(value);
    } else if (SameLetters(name, "range")) {
      ReadRange(value, request);
    }
  }
  return request;
}

std::optional<ByteSpan> RequestedSpan(const MediaRequest& request, std::int64_t size) {
  if (request.suffix) {
    if (size <= 0) return std::nullopt;
    return ByteSpan{size - std::min(*request.suffix, size), size, true};
  }
  if (!request.first) return ByteSpan{0, size, false};
  if (*request.first >= size) return std::nullopt;
  const std::int64_t end = request.last ? std::min(*request.last, size - 1) + 1 : size;
  return ByteSpan{*request.first, end, true};
}

}  // namespace taviro::helper
