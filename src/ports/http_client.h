#pragma once

#include <string>

namespace taviro {

// A synchronous GET with a bounded time-out, as the service's pages and text
// files are fetched. The caller waits for the whole body.
class HttpClient {
 public:
  virtual ~HttpClient() = default;
  // The body's raw bytes; empty when the request failed (no connection, time
  // out, or an HTTP error status), which every caller treats as a failed
  // reply.
  virtual std::string Get(const std::string& url) = 0;
};

}  // namespace taviro
