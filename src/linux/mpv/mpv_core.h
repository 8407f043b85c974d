#pragma once

#include <mpv/client.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "linux/mpv/main_loop_waker.h"
#include "playback/playback_readings.h"

namespace taviro::mpv {

struct HandleDeleter {
  void operator()(mpv_handle* handle) const { mpv_terminate_destroy(handle); }
};
using HandlePtr = std::unique_ptr<mpv_handle, HandleDeleter>;

using OptionList = std::vector<std::pair<std::string, std::string>>;

// A log line of the player: level ("fatal", "error", "warn", ...), the
// module that wrote it and its text.
using LogSink = std::function<void(std::string_view level, std::string_view prefix, std::string_view text)>;

// One libmpv player instance driven from the GLib main loop. libmpv wakes
// us from its own threads; the events are read on the main loop, where the
// observed properties are kept in `readings()`.
class MpvCore {
 public:
  struct Hooks {
    // Every event other than property changes and log lines, after the
    // readings it carries have been taken in.
    std::function<void(const mpv_event&)> event;
    // Once the queue has been read empty, so a state derived from several
    // properties is judged on a consistent set.
    std::function<void()> drained;
    LogSink log;
    const char* log_level = "no";
    // Changes of properties that others observe on the handle.
    std::function<void(const mpv_event_property&)> other_property;
    // Whether to keep `readings()` up to date.
    bool observe = true;
  };

  // Nothing when libmpv cannot create or start a player (for example when
  // the numeric locale is not the C one).
  static std::unique_ptr<MpvCore> Create(const OptionList& options, Hooks hooks);

  MpvCore(const MpvCore&) = delete;
  MpvCore& operator=(const MpvCore&) = delete;
  ~MpvCore();

  mpv_handle* handle() const { return handle_.get(); }
  const PlaybackReadings& readings() const { return readings_; }
  // For a value we have just set, so that it reads back at once.
  PlaybackReadings& readings() { return readings_; }

  // Requests that return at once; the outcome arrives as an event carrying
  // `reply`.
  void Command(std::initializer_list<const char*> args, std::uint64_t reply = 0);
  void SetFlag(const char* name, bool value);
  void SetDouble(const char* name, double value);
  void SetString(const char* name, const std::string& value);

  // Reads a property now; empty when it is not available.
  std::string GetString(const char* name) const;

  // Reads every queued event (normally run from the main loop).
  void Drain();

 private:
  MpvCore(HandlePtr handle, Hooks hooks);
  void ObserveAll();
  void TakeProperty(const mpv_event_property& property);

  HandlePtr handle_;
  Hooks hooks_;
  PlaybackReadings readings_;
  MainLoopWaker waker_;
};

}  // namespace taviro::mpv
