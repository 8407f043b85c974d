#include "helper/transfer_rules.h"

#include <algorithm>
#include <cctype>

#include "helper/download_name.h"

namespace taviro::helper {
namespace {

// About a second of transfer on a slow line: nearer than this, waiting is
// cheaper than a new connection.
constexpr std::int64_t kNearAhead = 512 * 1024;
constexpr std::chrono::milliseconds kFirstRetry{500};
// Short enough that a link back from an outage is used within seconds.
constexpr std::chrono::milliseconds kLongestRetry{2000};

}  // namespace

std::optional<std::string> SourceAddress(std::string_view address, std::string_view service_base) {
  if (const std::optional<QvodLink> link = ParseQvodLink(address)) {
    if (service_base.empty()) return std::nullopt;
    std::string base(service_base);
    if (!base.ends_with('/')) base += '/';
    // The hash goes into a path: anything but letters and digits is refused.
    for (const char c : link->hash) {
      if (!std::isalnum(static_cast<unsigned char>(c))) return std::nullopt;
    }
    return base + "seed/" + link->hash;
  }
  if (address.starts_with("http://") || address.starts_with("https://")) return std::string(address);
  return std::nullopt;
}

std::string SourceKey(std::string_view address, std::string_view source) {
  if (const std::optional<QvodLink> link = ParseQvodLink(address)) {
    return "qvod " + link->hash + " " + std::to_string(link->size);
  }
  return std::string(source);
}

std::optional<std::int64_t> NextFetchStart(const ByteRanges& present, std::int64_t total,
                                           std::int64_t reader_offset) {
  if (auto ahead = present.FirstMissing(reader_offset, total)) return ahead;
  return present.FirstMissing(0, total);
}

bool ShouldMoveTransfer(std::int64_t fetching, std::int64_t wanted) {
  return wanted < fetching || wanted - fetching > kNearAhead;
}

std::optional<std::chrono::milliseconds> RetryPolicy::NextDelay() {
  if (failures_ >= kMaxAttempts) return std::nullopt;
  const std::chrono::milliseconds delay = std::min(kFirstRetry * (1 << failures_), kLongestRetry);
  ++failures_;
  return delay;
}

void RateMeter::Count(std::int64_t bytes, std::chrono::steady_clock::time_point now) {
  samples_.emplace_back(now, bytes);
  Forget(now);
}

std::int64_t RateMeter::BytesPerSecond(std::chrono::steady_clock::time_point now) {
  Forget(now);
  std::int64_t sum = 0;
  for (const auto& sample : samples_) sum += sample.second;
  return sum * 1000 / window_.count();
}

void RateMeter::Forget(std::chrono::steady_clock::time_point now) {
  while (!samples_.empty() && now - samples_.front().first > window_) samples_.pop_front();
}

int Thousandths(std::int64_t covered, std::int64_t total) {
  if (total <= 0 || covered <= 0) return 0;
  if (covered >= total) return 1000;
  // Not in 64-bit integers: a declared size of petabytes would overflow.
  const long double share = static_cast<long double>(covered) * 1000 / static_cast<long double>(total);
  return std::min(static_cast<int>(share), 999);
}

}  // namespace taviro::helper
