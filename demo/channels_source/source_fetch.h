#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

namespace taviro::demo {

struct FetchedBytes {
  std::string bytes;
  std::string content_type;  // empty for a local file
};

struct FetchLimits {
  std::size_t max_bytes = 32U << 20U;
  std::chrono::seconds deadline{20};
  // Set by whoever stops the service: ends a fetch under way.
  const std::atomic<bool>* cancel = nullptr;
};

// A list, guide or logo: a local file path (or "file://" address) read
// directly, an http(s) address fetched with TLS verified. Nothing when it
// cannot be read, answers other than 200 or goes past the limits, so a
// stalled or endless source costs at most the deadline and the bytes.
std::optional<FetchedBytes> FetchSource(const std::string& address, const FetchLimits& limits);

}  // namespace taviro::demo
