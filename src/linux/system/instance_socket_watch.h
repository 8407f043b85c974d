#pragma once

#include <glib.h>

#include <functional>
#include <string>

#include "linux/system/unix_socket_instance.h"

namespace taviro {

// Watches the first instance's listening socket from the GLib main loop and
// hands every text a later start sends to `on_text`, one per wake-up, on the
// main thread. Does nothing when the channel does not listen. A listener that
// fails (out of descriptors, closed) is not polled in a busy loop: the watch
// pauses, growing the pause up to a few seconds, and makes the listener anew
// when it is broken.
class InstanceSocketWatch {
 public:
  InstanceSocketWatch(UnixSocketInstance& channel, std::function<void(const std::string&)> on_text);
  InstanceSocketWatch(const InstanceSocketWatch&) = delete;
  InstanceSocketWatch& operator=(const InstanceSocketWatch&) = delete;
  ~InstanceSocketWatch();

 private:
  static constexpr guint kFirstPauseMs = 100;
  static constexpr guint kLongestPauseMs = 5000;

  void WatchListener();
  void PauseAfterFailure();
  static gboolean OnReadable(gint fd, GIOCondition condition, gpointer self);
  static gboolean OnRetry(gpointer self);

  UnixSocketInstance& channel_;
  std::function<void(const std::string&)> on_text_;
  guint source_id_ = 0;
  guint retry_id_ = 0;
  guint pause_ms_ = kFirstPauseMs;
};

}  // namespace taviro
