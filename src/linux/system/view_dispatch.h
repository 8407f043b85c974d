#pragma once

#include <glib.h>

#include <functional>

namespace taviro {

// Brings every view in line with the core's models once per main-loop
// iteration, just before the loop waits: whatever changed a model (a window
// event, a timer, a reply, the player, the desktop), the views follow
// without each handler having to ask.
class ViewDispatch {
 public:
  // `sync` runs on every iteration, so it applies differences only.
  explicit ViewDispatch(std::function<void()> sync);
  ViewDispatch(const ViewDispatch&) = delete;
  ViewDispatch& operator=(const ViewDispatch&) = delete;
  ~ViewDispatch();

 private:
  static gboolean Prepare(GSource* source, gint* timeout);

  GSource* source_;
  std::function<void()> sync_;
};

}  // namespace taviro
