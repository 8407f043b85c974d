#include "gui/webkit_test_support.h"

#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <optional>

namespace taviro::testing {

std::string Evaluate(WebView& view, const std::string& script) {
  // Shared with the callback, which may come after a time-out.
  auto result = std::make_shared<std::optional<std::string>>();
  view.RunScript(script, [result](const std::string& text) { *result = text; });
  if (!PumpUntil([&] { return result->has_value(); })) {
    return "<no result>";
  }
  return **result;
}

LoopbackServer::LoopbackServer() : server_(std::make_unique<httplib::Server>()) {
  server_->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
    std::unique_lock lock(mutex_);
    ++hits_[request.path];
    released_.wait(lock, [&] { return !held_.contains(request.path); });
    ++served_[request.path];
    const auto page = pages_.find(request.path);
    if (page == pages_.end()) {
      response.status = 404;
      response.set_content("<p>missing</p>", "text/html");
      return;
    }
    response.status = page->second.status;
    response.set_content(page->second.body, page->second.content_type.c_str());
  });
  // One request per connection and no long wait for one: an idle connection
  // of the engine (kept alive, or opened ahead of a navigation we cancelled)
  // would hold the server's stop for seconds.
  server_->set_keep_alive_max_count(1);
  server_->set_keep_alive_timeout(1);
  port_ = server_->bind_to_any_port("127.0.0.1");
  thread_ = std::thread([this] { server_->listen_after_bind(); });
  // Stopping works only once the loop runs.
  while (!server_->is_running()) {
    std::this_thread::sleep_for(1ms);
  }
}

LoopbackServer::~LoopbackServer() {
  {
    std::lock_guard lock(mutex_);
    held_.clear();
  }
  released_.notify_all();
  server_->stop();
  thread_.join();
}

void LoopbackServer::Page(const std::string& path, std::string body, std::string content_type, int status) {
  std::lock_guard lock(mutex_);
  pages_[path] = Reply{std::move(body), std::move(content_type), status};
}

std::string LoopbackServer::Url(const std::string& path_and_query) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path_and_query;
}

int LoopbackServer::Hits(const std::string& path) const {
  std::lock_guard lock(mutex_);
  const auto hit = hits_.find(path);
  return hit == hits_.end() ? 0 : hit->second;
}

void LoopbackServer::Hold(const std::string& path) {
  std::lock_guard lock(mutex_);
  held_.insert(path);
}

void LoopbackServer::Release(const std::string& path) {
  {
    std::lock_guard lock(mutex_);
    held_.erase(path);
  }
  released_.notify_all();
}

int LoopbackServer::Served(const std::string& path) const {
  std::lock_guard lock(mutex_);
  const auto served = served_.find(path);
  return served == served_.end() ? 0 : served->second;
}

std::string RefusedAddress(const std::string& path_and_query) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), size);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  ::close(fd);  // bound but never listening, now closed: connections are refused
  return "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + path_and_query;
}

ShownWindow::ShownWindow() : window_(gtk_window_new(GTK_WINDOW_TOPLEVEL)), fixed_(gtk_fixed_new()) {
  gtk_window_set_default_size(GTK_WINDOW(window_), 640, 480);
  gtk_window_move(GTK_WINDOW(window_), 90, 70);
  gtk_container_add(GTK_CONTAINER(window_), fixed_);
}

ShownWindow::~ShownWindow() { gtk_widget_destroy(window_); }

void ShownWindow::Put(GtkWidget* widget, int x, int y, int width, int height) {
  gtk_widget_set_size_request(widget, width, height);
  gtk_fixed_put(GTK_FIXED(fixed_), widget, x, y);
}

bool ShownWindow::Show() {
  gtk_widget_show_all(window_);
  gtk_window_present(GTK_WINDOW(window_));
  return PumpUntil(
      [&] { return gtk_widget_get_mapped(window_) && gtk_widget_get_allocated_width(fixed_) > 1; });
}

std::pair<int, int> ShownWindow::InWindow(GtkWidget* widget, int x, int y) const {
  int window_x = 0;
  int window_y = 0;
  gtk_widget_translate_coordinates(widget, window_, x, y, &window_x, &window_y);
  return {window_x, window_y};
}

std::pair<int, int> ShownWindow::OnScreen(GtkWidget* widget, int x, int y) const {
  const auto [window_x, window_y] = InWindow(widget, x, y);
  int origin_x = 0;
  int origin_y = 0;
  gdk_window_get_origin(gtk_widget_get_window(window_), &origin_x, &origin_y);
  return {origin_x + window_x, origin_y + window_y};
}

bool CanDrivePointer() {
  gchar* path = g_find_program_in_path("xdotool");
  const bool found = path != nullptr;
  g_free(path);
  GdkDisplay* display = gdk_display_get_default();
  return found && display != nullptr && std::string(G_OBJECT_TYPE_NAME(display)) == "GdkX11Display";
}

bool DrivePointer(const std::vector<std::string>& commands) {
  std::vector<gchar*> argv{const_cast<gchar*>("xdotool")};
  for (const std::string& command : commands) {
    argv.push_back(const_cast<gchar*>(command.c_str()));
  }
  argv.push_back(nullptr);
  gint status = -1;
  const gboolean ran = g_spawn_sync(nullptr, argv.data(), nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr,
                                    nullptr, nullptr, &status, nullptr);
  return ran && g_spawn_check_wait_status(status, nullptr);
}

bool ClickAt(std::pair<int, int> screen_point, int button) {
  return DrivePointer({"mousemove", std::to_string(screen_point.first), std::to_string(screen_point.second),
                       "click", std::to_string(button)});
}

int VisibleToplevels() {
  GList* windows = gtk_window_list_toplevels();
  int visible = 0;
  for (GList* item = windows; item != nullptr; item = item->next) {
    if (gtk_widget_get_visible(GTK_WIDGET(item->data))) {
      ++visible;
    }
  }
  g_list_free(windows);
  return visible;
}

std::filesystem::path BrowserLog() {
  const char* data_home = std::getenv("XDG_DATA_HOME");
  return std::filesystem::path(data_home != nullptr ? data_home : "/nonexistent") / "browser-opened.txt";
}

std::vector<std::string> BrowserOpened() {
  std::vector<std::string> lines;
  std::ifstream log(BrowserLog());
  for (std::string line; std::getline(log, line);) {
    lines.push_back(line);
  }
  return lines;
}

WebViewHandlers ViewRecord::Handlers() {
  WebViewHandlers handlers;
  handlers.before_navigate = [this](const std::string& uri) {
    navigations.push_back(uri);
    return cancel(uri);
  };
  handlers.download_begin = [this] { ++begins; };
  handlers.download_complete = [this] { ++completes; };
  handlers.navigate_error = [this](const std::string& uri, int status) { errors.emplace_back(uri, status); };
  handlers.context_menu = [this](const ContextMenuRequest& request) { menus.push_back(request); };
  handlers.external_call = [this](const std::string& name, const std::vector<std::string>& arguments) {
    calls.emplace_back(name, arguments);
  };
  handlers.new_window = [this](const std::string& uri) { new_windows.push_back(uri); };
  return handlers;
}

}  // namespace taviro::testing
