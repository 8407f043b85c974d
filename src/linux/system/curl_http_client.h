#pragma once

#include <chrono>
#include <cstddef>
#include <string>

#include "ports/http_client.h"

namespace taviro {

// The service's pages and text files over libcurl: a plain GET that follows
// redirects. The window waits for it, so it must end: it gives up after
// 5 s without a connection and after 10 s in all. The service's replies are
// small: one longer than 4 MiB is a failure. Any failure, including an HTTP
// status of 400 or more, gives an empty body.
class CurlHttpClient final : public HttpClient {
 public:
  struct TimeOuts {
    std::chrono::milliseconds connect{5000};
    std::chrono::milliseconds total{10000};
  };

  static constexpr std::size_t kMaxReplyBytes = 4 * 1024 * 1024;

  CurlHttpClient() : CurlHttpClient(TimeOuts{}) {}
  explicit CurlHttpClient(TimeOuts time_outs, std::size_t max_reply_bytes = kMaxReplyBytes);
  ~CurlHttpClient() override;
  CurlHttpClient(const CurlHttpClient&) = delete;
  CurlHttpClient& operator=(const CurlHttpClient&) = delete;

  std::string Get(const std::string& url) override;

 private:
  TimeOuts time_outs_;
  std::size_t max_reply_bytes_;
};

}  // namespace taviro
