#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "helper/stream_shape.h"

namespace taviro::helper {

// What one look at an address found: its shape, where its redirects ended
// and the name its server gives the file.
struct ProbeResult {
  StreamShape shape = StreamShape::kRefused;
  std::string final_url;
  std::string disposition_name;
  std::optional<std::int64_t> length;
  // Why nothing could be looked at; a certificate the system does not
  // trust says so, since the user can do something about it.
  std::string error;
  bool certificate_refused = false;
};

// Fetches the head and the first bytes of `url` (a playlist whole, and a
// master playlist's first variant), following up to ten redirects over
// http and https, checking certificates against the system's store.
// `stop` ends it early.
ProbeResult ProbeStream(const std::string& url, const std::atomic<bool>& stop);

}  // namespace taviro::helper
