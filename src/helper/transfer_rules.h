#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "helper/byte_ranges.h"

namespace taviro::helper {

// Where an address is fetched from: a "qvod://" link from the service's
// seed folder, an http(s) address as it is. Nothing for anything else.
std::optional<std::string> SourceAddress(std::string_view address, std::string_view service_base);

// What an item is, whatever its file is named: a qvod link's hash and
// size (the service may move), else the address it is fetched from.
std::string SourceKey(std::string_view address, std::string_view source);

// Where the transfer should go next: the first missing byte at or after
// what the player reads, else the first missing byte of the file.
std::optional<std::int64_t> NextFetchStart(const ByteRanges& present, std::int64_t total,
                                           std::int64_t reader_offset);

// Whether a reader waiting at `wanted` should move the transfer that is now
// at `fetching`: not when the transfer gets there soon anyway.
bool ShouldMoveTransfer(std::int64_t fetching, std::int64_t wanted);

// Retries of a failing transfer wait longer each time, up to a bound; the
// count starts again once bytes arrive.
class RetryPolicy {
 public:
  // About 40 s of trying: longer than an outage of a mobile link.
  static constexpr int kMaxAttempts = 20;
  // The wait before the next attempt, or nothing when it is time to give up.
  std::optional<std::chrono::milliseconds> NextDelay();
  void Progressed() { failures_ = 0; }

 private:
  int failures_ = 0;
};

// The recent transfer rate, from bytes counted at given moments.
class RateMeter {
 public:
  explicit RateMeter(std::chrono::milliseconds window = std::chrono::milliseconds(2000)) : window_(window) {}
  void Count(std::int64_t bytes, std::chrono::steady_clock::time_point now);
  std::int64_t BytesPerSecond(std::chrono::steady_clock::time_point now);

 private:
  void Forget(std::chrono::steady_clock::time_point now);
  std::chrono::milliseconds window_;
  std::deque<std::pair<std::chrono::steady_clock::time_point, std::int64_t>> samples_;
};

// Downloaded share in thousandths, rounded down so that 1000 means whole.
int Thousandths(std::int64_t covered, std::int64_t total);

}  // namespace taviro::helper
