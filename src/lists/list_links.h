#pragma once

#include <string>
#include <string_view>

#include "lists/list_file.h"

namespace taviro {

struct WindowModel;

// The list pages' own link schemes; the number after them is the row's line
// in its list file.
inline constexpr std::string_view kOpenScheme = "open://";
inline constexpr std::string_view kDeleteScheme = "delk://";

// The side panel's footer reads "∴ 清空列表" while the local files are
// shown; every list command acts on the list that is shown.
bool LocalListActive(const WindowModel& model);
ListFile ActiveList(const WindowModel& model);

// `text` with every occurrence of `what` taken out.
std::string RemoveAll(std::string_view text, std::string_view what);

// The line of a "delk://" link: every scheme text and every "/" removed.
int DeleteLinkLine(std::string_view uri);

// The line of an "open://" link, as text: the scheme removed and one
// trailing "/" (which the web view may add) dropped.
std::string OpenLinkLine(std::string_view uri);

// The line a remembered row link points at, whichever of the two schemes
// it carries.
std::string RowLinkLine(std::string_view link);

}  // namespace taviro
