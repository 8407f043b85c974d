#pragma once

#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "linux/helper/terminal.h"
#include "linux/system/unique_fd.h"

namespace taviro::helper {

// Serves each item to the player on 127.0.0.1 as "/item/<token>/<name>",
// with byte ranges; a range that has not arrived is waited for. The token
// is the item's secret, known only to the program that asked for it.
// Connections of other users are closed at once; each client (a user, by
// the owner of its socket) holds a bounded number of connections and
// sends its request within a bounded time, so that a slow client cannot
// starve the player. One request per connection.
class MediaServer {
 public:
  static constexpr int kMaxConnections = 24;
  static constexpr int kMaxPerClient = 8;

  explicit MediaServer(Terminal& terminal);
  ~MediaServer();
  // The port listened on, or -1.
  int Start();
  void Stop();
  std::string AddressOf(const std::string& token, const std::string& name) const;

 private:
  void AcceptLoop();
  void Admit(UniqueFd connection);
  void Serve(int connection);
  void Release(int connection, const std::string& client);

  Terminal& terminal_;
  UniqueFd listener_;
  UniqueFd wake_;
  int port_ = -1;
  std::thread acceptor_;
  std::mutex mutex_;
  std::condition_variable drained_;
  std::map<std::string, int> per_client_;
  std::set<int> open_;
  bool stopping_ = false;
};

}  // namespace taviro::helper
