#pragma once

#include "ui/main/main_window.h"

namespace taviro {

// The control bar's buttons (`bo_but` 0..7). Play, stop and the file and
// episode buttons act only once a player is attached; what is here works on
// the window alone.
class ControlBar final : public ControlBarActions {
 public:
  explicit ControlBar(MainWindow& window) : window_(window) {}
  void Click(int index) override;

 private:
  MainWindow& window_;
};

}  // namespace taviro
