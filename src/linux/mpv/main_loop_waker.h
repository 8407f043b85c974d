#pragma once

#include <glib.h>

#include <functional>

namespace taviro::mpv {

// Runs a handler on the GLib main loop after Wake(), which any thread may
// call. Wakes that arrive before the handler runs fold into one run. The
// source lives as long as this object, so a late wake from another thread
// never reaches a handler that has gone away.
class MainLoopWaker {
 public:
  explicit MainLoopWaker(std::function<void()> handler);
  MainLoopWaker(const MainLoopWaker&) = delete;
  MainLoopWaker& operator=(const MainLoopWaker&) = delete;
  ~MainLoopWaker();

  // Thread-safe.
  void Wake();
  // The callback form for C libraries: `data` is this object.
  static void WakeFromAnyThread(void* data);

 private:
  struct Source;
  static gboolean Dispatch(GSource* source, GSourceFunc callback, gpointer data);

  std::function<void()> handler_;
  GSource* source_ = nullptr;
};

}  // namespace taviro::mpv
