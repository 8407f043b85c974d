#pragma once

#include <glib.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "util/unique_fd.h"

namespace taviro {

// The program's own service, started beside the window: a child that gets
// one end of a socket pair as its descriptor 3, tells its address over it
// and ends when the program's end closes, be it at the quit or because the
// program died. The address never passes through a file or the command
// line, where another user could read it.
class OwnServiceProcess {
 public:
  struct Handlers {
    // The base URL the service reported, once.
    std::function<void(const std::string& base)> ready;
    // The service could not start, said nothing usable in time, or ended.
    std::function<void(const std::string& why)> failed;
  };

  OwnServiceProcess(std::filesystem::path program, std::vector<std::string> arguments, Handlers handlers);
  OwnServiceProcess(const OwnServiceProcess&) = delete;
  OwnServiceProcess& operator=(const OwnServiceProcess&) = delete;
  // Closes the program's end: the service ends by itself.
  ~OwnServiceProcess();

  // Starts the service; a failure is reported through `failed` as well.
  // False, too, while the last one started has not ended.
  bool Start();
  bool running() const { return link_.valid(); }

 private:
  static gboolean OnReadable(gint fd, GIOCondition condition, gpointer data);
  static gboolean OnDeadline(gpointer data);
  static void OnChildEnded(GPid pid, gint status, gpointer data);
  void Fail(const std::string& why);
  void Forget();

  std::filesystem::path program_;
  std::vector<std::string> arguments_;
  Handlers handlers_;
  UniqueFd link_;
  std::string said_;
  bool reported_ = false;
  bool failure_told_ = false;
  guint read_source_ = 0;
  guint deadline_source_ = 0;
  guint child_source_ = 0;
};

}  // namespace taviro
