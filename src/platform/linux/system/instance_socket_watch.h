#pragma once

#include <glib.h>

#include <functional>
#include <string>

#include "platform/linux/system/unix_socket_instance.h"

namespace taviro {

// Watches the first instance's listening socket from the GLib main loop and
// hands every text a later start sends to `on_text`, one per wake-up, on the
// main thread. Does nothing when the channel does not listen.
class InstanceSocketWatch {
 public:
  InstanceSocketWatch(UnixSocketInstance& channel, std::function<void(const std::string&)> on_text);
  InstanceSocketWatch(const InstanceSocketWatch&) = delete;
  InstanceSocketWatch& operator=(const InstanceSocketWatch&) = delete;
  ~InstanceSocketWatch();

  bool Watching() const { return source_id_ != 0; }

 private:
  static gboolean OnReadable(gint fd, GIOCondition condition, gpointer self);

  UnixSocketInstance& channel_;
  std::function<void(const std::string&)> on_text_;
  guint source_id_ = 0;
};

}  // namespace taviro
