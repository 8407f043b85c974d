#include "services/headline_file.h"

#include <algorithm>
#include <cctype>

#include "util/split_text.h"

namespace taviro {
namespace {

std::string WithoutOuterLineBreaks(std::string_view text) {
  const std::size_t first = text.find_first_not_of("\r\n");
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of("\r\n") - first + 1));
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
         });
}

}  // namespace

std::vector<Headline> ParseHeadlines(std::string_view text) {
  std::vector<Headline> headlines;
  if (text.find("||") == std::string_view::npos) return headlines;
  std::vector<std::string_view> entries = SplitText(text, "$$$");
  if (entries.size() > kServiceListLimit) entries.resize(kServiceListLimit);
  for (const std::string_view entry : entries) {
    if (entry.find("||") == std::string_view::npos) continue;
    const std::vector<std::string_view> parts = SplitText(entry, "||");
    headlines.push_back({WithoutOuterLineBreaks(parts[0]), WithoutOuterLineBreaks(parts[1])});
  }
  return headlines;
}

bool OpensInBrowser(std::string_view link) {
  return StartsWithNoCase(link, "http://") || StartsWithNoCase(link, "https://");
}

}  // namespace taviro
