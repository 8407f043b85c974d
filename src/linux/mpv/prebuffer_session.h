#pragma once

#include <memory>
#include <string>

#include "linux/mpv/mpv_core.h"

namespace taviro::mpv {

// Reads the start of a media address in the background, without showing or
// sounding anything: a second, paused player that fills its cache. Ending
// the session (destroying it) stops the transfer.
class PrebufferSession {
 public:
  // Nothing when no player can be created.
  static std::unique_ptr<PrebufferSession> Start(const std::string& url, LogSink log, const char* log_level);

  const std::string& url() const { return url_; }

 private:
  PrebufferSession(std::string url, std::unique_ptr<MpvCore> core);

  std::string url_;
  std::unique_ptr<MpvCore> core_;
};

}  // namespace taviro::mpv
