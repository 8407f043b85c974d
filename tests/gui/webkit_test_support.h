#pragma once

#include <gtk/gtk.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "gui/main_loop_pump.h"
#include "ports/web_view.h"

namespace httplib {
class Server;
}

namespace taviro::testing {

// The script's result as text, or "<no result>" when none came in time.
std::string Evaluate(WebView& view, const std::string& script);

// A page server on 127.0.0.1 and an ephemeral port, on its own thread.
class LoopbackServer {
 public:
  LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;
  ~LoopbackServer();

  // Serves `body` at `path` (query ignored). Unknown paths answer 404.
  void Page(const std::string& path, std::string body, std::string content_type = "text/html; charset=utf-8",
            int status = 200);
  std::string Url(const std::string& path_and_query) const;
  int Hits(const std::string& path) const;
  // A held page answers only once released: a service that answers slowly.
  void Hold(const std::string& path);
  void Release(const std::string& path);
  // How many answers to `path` were sent.
  int Served(const std::string& path) const;

 private:
  struct Reply {
    std::string body;
    std::string content_type;
    int status = 200;
  };
  std::unique_ptr<httplib::Server> server_;
  int port_ = 0;
  mutable std::mutex mutex_;
  std::map<std::string, Reply> pages_;
  std::map<std::string, int> hits_;
  std::map<std::string, int> served_;
  std::set<std::string> held_;
  std::condition_variable released_;
  std::thread thread_;
};

// An address on loopback where nothing listens.
std::string RefusedAddress(const std::string& path_and_query);

// A shown toplevel window at a fixed place with widgets at fixed places.
class ShownWindow {
 public:
  ShownWindow();
  ShownWindow(const ShownWindow&) = delete;
  ShownWindow& operator=(const ShownWindow&) = delete;
  ~ShownWindow();

  void Put(GtkWidget* widget, int x, int y, int width, int height);
  // Waits until the window is mapped and laid out.
  bool Show();
  GtkWidget* window() const { return window_; }
  // A point of `widget` on the screen, and in the window's own pixels.
  std::pair<int, int> OnScreen(GtkWidget* widget, int x, int y) const;
  std::pair<int, int> InWindow(GtkWidget* widget, int x, int y) const;

 private:
  GtkWidget* window_ = nullptr;
  GtkWidget* fixed_ = nullptr;
};

// Whether the X server has a pointer we can drive.
bool CanDrivePointer();
// Drives the real pointer with xdotool commands ("mousemove", "10", "20",
// "mousedown", "3", ...).
bool DrivePointer(const std::vector<std::string>& commands);
// Moves the real pointer to a screen point and clicks `button` there.
bool ClickAt(std::pair<int, int> screen_point, int button);

// Toplevel windows of this process that are on screen.
int VisibleToplevels();

// The file the stand-in browser appends every address it is given to.
std::filesystem::path BrowserLog();
std::vector<std::string> BrowserOpened();

// What a view reported, in order.
struct ViewRecord {
  std::vector<std::string> navigations;
  int begins = 0;
  int completes = 0;
  std::vector<std::pair<std::string, int>> errors;
  std::vector<ContextMenuRequest> menus;
  std::vector<std::pair<std::string, std::vector<std::string>>> calls;
  std::vector<std::string> new_windows;
  // Navigations for which this is true are cancelled.
  std::function<bool(const std::string&)> cancel = [](const std::string&) { return false; };

  WebViewHandlers Handlers();
};

}  // namespace taviro::testing
