#pragma once

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace taviro::demo {

// Watches folders with GIO's file monitors on a GLib main loop of its own
// thread, and says which library folder changed (on that thread).
class FolderMonitor {
 public:
  explicit FolderMonitor(std::function<void(std::size_t root)> changed);
  FolderMonitor(const FolderMonitor&) = delete;
  FolderMonitor& operator=(const FolderMonitor&) = delete;
  ~FolderMonitor();

  // Replaces the folders watched for library folder `root`.
  void Watch(std::size_t root, std::vector<std::string> folders);

 private:
  struct State;
  std::shared_ptr<State> state_;
  std::thread thread_;
};

}  // namespace taviro::demo
