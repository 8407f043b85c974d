#pragma once

#include <chrono>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "helper/helper_protocol.h"

namespace taviro {

class HelperChannel;
class ProgramLauncher;

// What the player should open for an address.
struct StreamChoice {
  enum class Kind {
    kDirect,  // the address itself (local, or the helper cannot help)
    kHelper,  // the helper's loopback copy, in `address`
    kWait,    // the helper is starting: ask again shortly
    kNone,    // nothing can play it
  };
  Kind kind = Kind::kDirect;
  std::string address;
};

// The player's side of the download helper: when to start it, what to ask
// it, and what its reports mean for the player's dispatch operations.
class DownloadHelperClient {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;
  // How long a starting helper is waited for before the address is played
  // without it.
  static constexpr std::chrono::milliseconds kStartWait{10000};
  // Reports younger than this are reused: one poll reads several values.
  static constexpr std::chrono::milliseconds kReportAge{500};

  DownloadHelperClient(HelperChannel& channel, ProgramLauncher& launcher, std::string helper_program,
                       std::string service_base);

  // Network addresses (http, https, qvod) go through the helper; the files
  // of the user's own library, served by the program's own service, do not.
  bool Wanted(std::string_view address) const;
  // The program's own service tells its address after the start.
  void SetServiceBase(std::string service_base) { service_base_ = std::move(service_base); }

  // `waiting_since`: when a kWait answer for this address was first given,
  // nothing on the first try; the helper is started on that first try only.
  StreamChoice Open(const std::string& address, std::optional<TimePoint> waiting_since, TimePoint now);
  // The helper's report on the address; nothing when the helper is gone.
  std::optional<HelperStatus> Report(const std::string& address, TimePoint now);
  // Starts fetching an address ahead; a helper that is not running is
  // started and asked again at the next report.
  void Prebuffer(const std::string& address);
  // What the catalogue calls the item at `address`: the helper saves a
  // programme under it. Kept for the few items played or read ahead last.
  void NameItem(const std::string& address, const std::string& title);

 private:
  std::optional<std::string> Ask(HelperVerb verb, const std::string& address);
  bool StartHelper();

  HelperChannel& channel_;
  ProgramLauncher& launcher_;
  std::string helper_program_;
  std::string service_base_;
  std::string pending_prebuffer_;
  std::deque<std::pair<std::string, std::string>> titles_;  // address, title
  std::string reported_address_;
  std::optional<HelperStatus> report_;
  TimePoint report_time_{};
};

// Whether a helper's answer is a loopback http address (the only kind the
// player is given on the helper's word).
bool IsLoopbackHttpAddress(std::string_view address);

}  // namespace taviro
