#pragma once

#include <optional>
#include <string>

namespace taviro {

// The system's "open file" dialog.
class FileDialog {
 public:
  virtual ~FileDialog() = default;

  // `filter` is a list of "name|patterns" pairs joined by "|", the patterns
  // of one pair separated by ";" (e.g. "影音文件|*.mp4;*.rm|所有文件|*.*"),
  // the first pair selected. The chosen file's path; nothing when the user
  // cancels or the dialog cannot be shown.
  virtual std::optional<std::string> ChooseMediaFile(const std::string& title, const std::string& filter) = 0;
};

}  // namespace taviro
