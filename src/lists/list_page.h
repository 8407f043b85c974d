#pragma once

#include <string>
#include <string_view>

#include "lists/list_file.h"

namespace taviro {

// The whole page text (UTF-8, final line ends included) that shows the list
// `list_text` of `file`: one row per record whose title is not empty, each
// linked by its line number, or a single "暂无记录" row.
std::string BuildListPage(ListFile file, std::string_view list_text);

}  // namespace taviro
