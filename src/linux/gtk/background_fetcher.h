#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "ports/http_client.h"
#include "ports/text_fetcher.h"

namespace taviro::gtk {

// Runs the service's text fetches away from the window and hands each reply
// to the GLib main loop, so the window keeps painting and answering while a
// slow service makes it wait. Replies that arrive after the fetcher is gone
// are dropped.
class BackgroundFetcher final : public TextFetcher {
 public:
  enum class Order {
    // One worker, replies in the order asked: the service's text files.
    kInTurn,
    // Each fetch on its own, replies as they come: answers the user waits
    // for must not queue behind a slow one.
    kSideBySide,
  };

  explicit BackgroundFetcher(std::shared_ptr<HttpClient> http, Order order = Order::kInTurn);
  BackgroundFetcher(const BackgroundFetcher&) = delete;
  BackgroundFetcher& operator=(const BackgroundFetcher&) = delete;
  ~BackgroundFetcher() override;

  void Fetch(const std::string& url, std::function<void(const std::string& body)> done) override;

 private:
  struct Shared;
  std::shared_ptr<Shared> shared_;
  Order order_;
};

}  // namespace taviro::gtk
