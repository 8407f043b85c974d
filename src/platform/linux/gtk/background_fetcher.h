#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/http_client.h"
#include "platform/text_fetcher.h"

namespace taviro::gtk {

// Runs the service's text fetches on one worker thread, in the order they
// were asked for, and hands each reply to the GLib main loop, so the window
// keeps painting and answering while a slow service makes it wait. Replies
// that arrive after the fetcher is gone are dropped.
class BackgroundFetcher final : public TextFetcher {
 public:
  explicit BackgroundFetcher(std::shared_ptr<HttpClient> http);
  BackgroundFetcher(const BackgroundFetcher&) = delete;
  BackgroundFetcher& operator=(const BackgroundFetcher&) = delete;
  ~BackgroundFetcher() override;

  void Fetch(const std::string& url, std::function<void(const std::string& body)> done) override;

 private:
  struct Shared;
  std::shared_ptr<Shared> shared_;
};

}  // namespace taviro::gtk
