#pragma once

#include <httplib.h>

#include <string>
#include <thread>

#include "platform/linux/helper/terminal.h"

namespace taviro::helper {

// Serves each item to the player on 127.0.0.1 as "/item/<name>", with byte
// ranges; a range that has not arrived is waited for.
class MediaServer {
 public:
  explicit MediaServer(Terminal& terminal);
  ~MediaServer();
  // The port listened on, or -1.
  int Start();
  void Stop();
  std::string AddressOf(const std::string& name) const;

 private:
  void Serve(const httplib::Request& request, httplib::Response& response);

  Terminal& terminal_;
  httplib::Server server_;
  int port_ = -1;
  std::thread thread_;
};

}  // namespace taviro::helper
