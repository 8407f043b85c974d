#include "platform/linux/system/instance_socket_watch.h"

#include <glib-unix.h>

#include <optional>
#include <utility>

namespace taviro {

InstanceSocketWatch::InstanceSocketWatch(UnixSocketInstance& channel,
                                         std::function<void(const std::string&)> on_text)
    : channel_(channel), on_text_(std::move(on_text)) {
  if (channel_.ListeningFd() >= 0) {
    source_id_ = g_unix_fd_add(channel_.ListeningFd(), G_IO_IN, &InstanceSocketWatch::OnReadable, this);
  }
}

InstanceSocketWatch::~InstanceSocketWatch() {
  if (source_id_ != 0) {
    g_source_remove(source_id_);
  }
}

gboolean InstanceSocketWatch::OnReadable(gint /*fd*/, GIOCondition /*condition*/, gpointer self) {
  auto& watch = *static_cast<InstanceSocketWatch*>(self);
  // Further waiting starts keep the socket readable and wake the loop again.
  if (std::optional<std::string> text = watch.channel_.AcceptOne(); text && watch.on_text_) {
    watch.on_text_(*text);
  }
  return G_SOURCE_CONTINUE;
}

}  // namespace taviro
