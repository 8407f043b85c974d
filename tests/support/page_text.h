#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace taviro::testing {

// Every value of `attribute="..."` in the page that starts with `prefix`,
// with the page's &amp; entities turned back into "&".
std::vector<std::string> AttributeValues(std::string_view page, std::string_view attribute,
                                         std::string_view prefix);

std::vector<std::string> Split(std::string_view text, std::string_view separator);

}  // namespace taviro::testing
