#pragma once

#include <sys/types.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "linux/helper/terminal.h"
#include "util/unique_fd.h"

namespace taviro::helper {

// Serves each item to the player on 127.0.0.1 as "/item/<token>/<name>",
// with byte ranges; a range that has not arrived is waited for. The token
// is the item's secret, known only to the program that asked for it.
// A connection is served only when the kernel names this user as the
// owner of its client's socket; any other, or one whose owner is not
// found, is closed unanswered. The owner is looked up beside the accepting
// thread, so that a flood of connections is taken in as fast as it comes.
// The user's clients hold a bounded number of connections and send each
// request within a bounded time, so that a slow client cannot starve the
// player. One request per connection.
class MediaServer {
 public:
  static constexpr int kMaxConnections = 24;
  static constexpr int kMaxPerClient = 8;
  // Accepted connections whose owner is still to be looked up.
  static constexpr std::size_t kMaxUnchecked = 256;

  explicit MediaServer(Terminal& terminal);
  ~MediaServer();
  // The port listened on, or -1.
  int Start();
  void Stop();
  std::string AddressOf(const std::string& token, const std::string& name) const;

 private:
  void AcceptLoop();
  void CheckLoop();
  void Admit(UniqueFd connection, uid_t owner);
  void Serve(int connection);
  void Release(int connection, uid_t owner);

  Terminal& terminal_;
  UniqueFd listener_;
  UniqueFd wake_;
  int port_ = -1;
  std::thread acceptor_;
  std::thread checker_;
  std::mutex mutex_;
  std::condition_variable drained_;
  std::condition_variable unchecked_ready_;
  std::condition_variable room_;
  std::deque<UniqueFd> unchecked_;
  std::map<uid_t, int> per_client_;
  std::set<int> open_;
  bool stopping_ = false;
};

}  // namespace taviro::helper
