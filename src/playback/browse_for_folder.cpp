#include "playback/browse_for_folder.h"

#include "ports/folder_chooser.h"
#include "settings/settings_store.h"

namespace taviro {

std::string BrowseForFolder(FolderChooser& chooser, std::string_view initial_path, std::string_view title) {
  const std::string_view shown_title = title.empty() ? kDefaultBrowseTitle : title;
  return TrimAtNul(chooser.ChooseFolder(std::string(initial_path), std::string(shown_title)));
}

}  // namespace taviro
