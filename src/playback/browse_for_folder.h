#pragma once

#include <string>
#include <string_view>

namespace taviro {

class FolderChooser;

inline constexpr std::string_view kDefaultBrowseTitle = "请选择文件夹";

// The folder picker as the program asks for it: `title` falls back to
// kDefaultBrowseTitle, the picker starts in `initial_path`, and the chosen
// folder is returned cut at its first NUL; an empty text when cancelled.
std::string BrowseForFolder(FolderChooser& chooser, std::string_view initial_path, std::string_view title);

}  // namespace taviro
