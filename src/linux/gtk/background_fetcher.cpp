#include "linux/gtk/background_fetcher.h"

#include <glib.h>

#include <cstdio>
#include <cstdlib>

namespace taviro::gtk {

// What the worker and the main loop share. The worker holds it as long as it
// runs, so a request still waiting when the program ends touches nothing
// that has gone.
struct BackgroundFetcher::Shared {
  struct Request {
    std::string url;
    std::function<void(const std::string&)> done;
  };
  struct Reply {
    std::shared_ptr<Shared> shared;
    std::string url;
    std::function<void(const std::string&)> done;
    std::string body;
  };

  std::shared_ptr<HttpClient> http;
  std::mutex mutex;
  std::condition_variable wake;
  std::deque<Request> queue;
  bool stopping = false;  // under mutex
  // Read and written on the main loop only.
  bool delivering = true;

  static gboolean Deliver(gpointer data) {
    std::unique_ptr<Reply> reply(static_cast<Reply*>(data));
    if (!reply->shared->delivering) return G_SOURCE_REMOVE;
    reply->done(reply->body);
    if (std::getenv("TAVIRO_DEBUG") != nullptr) {
      std::fprintf(stderr, "taviro: service reply %s handled (%zu bytes)\n", reply->url.c_str(),
                   reply->body.size());
    }
    return G_SOURCE_REMOVE;
  }

  static void Work(std::shared_ptr<Shared> self) {
    for (;;) {
      Request request;
      {
        std::unique_lock lock(self->mutex);
        self->wake.wait(lock, [&self] { return self->stopping || !self->queue.empty(); });
        if (self->stopping) return;
        request = std::move(self->queue.front());
        self->queue.pop_front();
      }
      if (!FetchAndPost(self, std::move(request))) return;
    }
  }

  // False once the fetcher is gone.
  static bool FetchAndPost(const std::shared_ptr<Shared>& self, Request request) {
    std::string body = self->http->Get(request.url);
    std::lock_guard lock(self->mutex);
    if (self->stopping) return false;
    g_idle_add_full(G_PRIORITY_DEFAULT, Deliver,
                    new Reply{self, std::move(request.url), std::move(request.done), std::move(body)},
                    nullptr);
    return true;
  }
};

// Threads are detached: a request can wait for the client's whole time-out,
// and the program must not wait with it when it ends.
BackgroundFetcher::BackgroundFetcher(std::shared_ptr<HttpClient> http, Order order)
    : shared_(std::make_shared<Shared>()), order_(order) {
  shared_->http = std::move(http);
  if (order_ == Order::kInTurn) std::thread(Shared::Work, shared_).detach();
}

BackgroundFetcher::~BackgroundFetcher() {
  shared_->delivering = false;
  {
    std::lock_guard lock(shared_->mutex);
    shared_->stopping = true;
    shared_->queue.clear();
  }
  shared_->wake.notify_all();
}

void BackgroundFetcher::Fetch(const std::string& url, std::function<void(const std::string& body)> done) {
  if (order_ == Order::kSideBySide) {
    std::thread(Shared::FetchAndPost, shared_, Shared::Request{url, std::move(done)}).detach();
    return;
  }
  {
    std::lock_guard lock(shared_->mutex);
    shared_->queue.push_back({url, std::move(done)});
  }
  shared_->wake.notify_one();
}

}  // namespace taviro::gtk
