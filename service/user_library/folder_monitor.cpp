#include "user_library/folder_monitor.h"

#include <gio/gio.h>

#include <map>
#include <utility>

namespace taviro::demo {
namespace {

struct MonitorUnref {
  void operator()(GFileMonitor* monitor) const {
    g_file_monitor_cancel(monitor);
    g_object_unref(monitor);
  }
};
using Monitor = std::unique_ptr<GFileMonitor, MonitorUnref>;

struct FileUnref {
  void operator()(GFile* file) const { g_object_unref(file); }
};

}  // namespace

struct FolderMonitor::State {
  struct Watched {
    State* state;
    std::size_t root;
  };

  std::function<void(std::size_t)> changed;
  GMainContext* context = g_main_context_new();
  GMainLoop* loop = g_main_loop_new(context, FALSE);
  // Touched on the loop's thread only.
  std::map<std::size_t, std::unique_ptr<Watched>> roots;
  std::map<std::size_t, std::map<std::string, Monitor>> monitors;

  State() = default;
  State(const State&) = delete;
  State& operator=(const State&) = delete;
  ~State() {
    g_main_loop_unref(loop);
    g_main_context_unref(context);
  }

  static void OnChange(GFileMonitor* /*monitor*/, GFile* /*file*/, GFile* /*other*/, GFileMonitorEvent event,
                       gpointer data) {
    // Writes in progress and attribute changes show nothing new; a file is
    // taken once its writer is done with it.
    if (event == G_FILE_MONITOR_EVENT_CHANGED || event == G_FILE_MONITOR_EVENT_ATTRIBUTE_CHANGED ||
        event == G_FILE_MONITOR_EVENT_PRE_UNMOUNT) {
      return;
    }
    const auto* watched = static_cast<const Watched*>(data);
    watched->state->changed(watched->root);
  }

  // Keeps the monitors of folders still there, so that no change between
  // two scans goes unseen, and watches the new ones.
  void Replace(std::size_t root, const std::vector<std::string>& folders) {
    std::map<std::string, Monitor>& kept = monitors[root];
    std::map<std::string, Monitor> now;
    std::unique_ptr<Watched>& watched = roots[root];
    if (!watched) watched = std::make_unique<Watched>(Watched{this, root});
    for (const std::string& folder : folders) {
      if (const auto old = kept.find(folder); old != kept.end()) {
        now.emplace(folder, std::move(old->second));
        continue;
      }
      const std::unique_ptr<GFile, FileUnref> file(g_file_new_for_path(folder.c_str()));
      // A folder that cannot be watched is found again by the next scan.
      Monitor monitor(g_file_monitor_directory(file.get(), G_FILE_MONITOR_WATCH_MOVES, nullptr, nullptr));
      if (!monitor) continue;
      g_signal_connect(monitor.get(), "changed", G_CALLBACK(OnChange), watched.get());
      now.emplace(folder, std::move(monitor));
    }
    kept = std::move(now);
  }
};

FolderMonitor::FolderMonitor(std::function<void(std::size_t root)> changed)
    : state_(std::make_shared<State>()) {
  state_->changed = std::move(changed);
  thread_ = std::thread([state = state_] {
    g_main_context_push_thread_default(state->context);
    g_main_loop_run(state->loop);
    state->monitors.clear();
    g_main_context_pop_thread_default(state->context);
  });
}

FolderMonitor::~FolderMonitor() {
  g_main_context_invoke(
      state_->context,
      [](gpointer loop) {
        g_main_loop_quit(static_cast<GMainLoop*>(loop));
        return G_SOURCE_REMOVE;
      },
      state_->loop);
  thread_.join();
}

void FolderMonitor::Watch(std::size_t root, std::vector<std::string> folders) {
  struct Request {
    State* state;
    std::size_t root;
    std::vector<std::string> folders;
  };
  g_main_context_invoke_full(
      state_->context, G_PRIORITY_DEFAULT,
      [](gpointer data) {
        auto* request = static_cast<Request*>(data);
        request->state->Replace(request->root, request->folders);
        return G_SOURCE_REMOVE;
      },
      new Request{state_.get(), root, std::move(folders)},
      [](gpointer data) { delete static_cast<Request*>(data); });
}

}  // namespace taviro::demo
