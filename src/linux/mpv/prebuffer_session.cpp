#include "linux/mpv/prebuffer_session.h"

#include <utility>

namespace taviro::mpv {

std::unique_ptr<PrebufferSession> PrebufferSession::Start(const std::string& url, LogSink log,
                                                          const char* log_level) {
  const OptionList options = {
      {"vo", "null"},
      {"ao", "null"},
      {"pause", "yes"},
      {"idle", "yes"},
      {"config", "no"},
      {"load-scripts", "no"},
      {"ytdl", "no"},
      {"terminal", "no"},
      {"input-default-bindings", "no"},
      {"cache", "yes"},
      // Enough for the opening minutes of an episode; the rest comes when it
      // is played.
      {"demuxer-max-bytes", "64MiB"},
      {"demuxer-max-back-bytes", "0"},
      {"network-timeout", "30"},
  };
  MpvCore::Hooks hooks;
  hooks.log = std::move(log);
  hooks.log_level = log_level;
  hooks.observe = false;
  auto core = MpvCore::Create(options, std::move(hooks));
  if (core == nullptr) {
    return nullptr;
  }
  core->Command({"loadfile", url.c_str(), "replace"});
  return std::unique_ptr<PrebufferSession>(new PrebufferSession(url, std::move(core)));
}

PrebufferSession::PrebufferSession(std::string url, std::unique_ptr<MpvCore> core)
    : url_(std::move(url)), core_(std::move(core)) {}

}  // namespace taviro::mpv
