#include "support/page_text.h"

namespace taviro::testing {

std::vector<std::string> AttributeValues(std::string_view page, std::string_view attribute,
                                         std::string_view prefix) {
  const std::string opening = std::string(attribute) + "=\"" + std::string(prefix);
  std::vector<std::string> values;
  for (std::size_t at = page.find(opening); at != std::string_view::npos; at = page.find(opening, at + 1)) {
    const std::size_t start = at + attribute.size() + 2;
    const std::size_t end = page.find('"', start);
    std::string value(page.substr(start, end - start));
    for (std::size_t amp = value.find("&amp;"); amp != std::string::npos;
         amp = value.find("&amp;", amp + 1)) {
      value.erase(amp + 1, 4);
    }
    values.push_back(value);
  }
  return values;
}

std::vector<std::string> Split(std::string_view text, std::string_view separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t at = text.find(separator); at != std::string_view::npos;
       at = text.find(separator, start)) {
    parts.emplace_back(text.substr(start, at - start));
    start = at + separator.size();
  }
  parts.emplace_back(text.substr(start));
  return parts;
}

}  // namespace taviro::testing
