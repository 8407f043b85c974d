#include "linux/system/instance_socket_watch.h"

#include <glib-unix.h>

#include <algorithm>
#include <optional>
#include <utility>

namespace taviro {

InstanceSocketWatch::InstanceSocketWatch(UnixSocketInstance& channel,
                                         std::function<void(const std::string&)> on_text)
    : channel_(channel), on_text_(std::move(on_text)) {
  WatchListener();
}

InstanceSocketWatch::~InstanceSocketWatch() {
  if (source_id_ != 0) {
    g_source_remove(source_id_);
  }
  if (retry_id_ != 0) {
    g_source_remove(retry_id_);
  }
}

void InstanceSocketWatch::WatchListener() {
  if (channel_.ListeningFd() >= 0) {
    source_id_ = g_unix_fd_add(channel_.ListeningFd(), G_IO_IN, &InstanceSocketWatch::OnReadable, this);
  }
}

// The source that called is removed by its caller's return value.
void InstanceSocketWatch::PauseAfterFailure() {
  source_id_ = 0;
  retry_id_ = g_timeout_add(pause_ms_, &InstanceSocketWatch::OnRetry, this);
  pause_ms_ = std::min(pause_ms_ * 2, kLongestPauseMs);
}

gboolean InstanceSocketWatch::OnReadable(gint /*fd*/, GIOCondition condition, gpointer self) {
  auto& watch = *static_cast<InstanceSocketWatch*>(self);
  if ((condition & (G_IO_ERR | G_IO_HUP | G_IO_NVAL)) != 0) {
    watch.PauseAfterFailure();
    return G_SOURCE_REMOVE;
  }
  // Further waiting starts keep the socket readable and wake the loop again.
  UnixSocketInstance::Accepted accepted = watch.channel_.Accept();
  if (accepted.failed) {
    watch.PauseAfterFailure();
    return G_SOURCE_REMOVE;
  }
  watch.pause_ms_ = kFirstPauseMs;
  if (accepted.text && watch.on_text_) {
    watch.on_text_(*accepted.text);
  }
  return G_SOURCE_CONTINUE;
}

gboolean InstanceSocketWatch::OnRetry(gpointer self) {
  auto& watch = *static_cast<InstanceSocketWatch*>(self);
  watch.retry_id_ = 0;
  if (watch.channel_.Relisten()) {
    watch.WatchListener();
  } else {
    // The name has gone to another instance meanwhile, or no socket can be
    // made yet: look again later.
    watch.PauseAfterFailure();
  }
  return G_SOURCE_REMOVE;
}

}  // namespace taviro
