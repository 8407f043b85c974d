#pragma once

#include <string>

namespace taviro {

// The system's folder picker.
class FolderChooser {
 public:
  virtual ~FolderChooser() = default;

  // Lets the user pick a folder, starting in `initial_folder` when it names
  // one. The chosen folder's absolute path (no trailing "/" except for the
  // root); an empty text when the user cancels or no picker can be shown.
  virtual std::string ChooseFolder(const std::string& initial_folder, const std::string& title) = 0;
};

}  // namespace taviro
