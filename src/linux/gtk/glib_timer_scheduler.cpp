#include "linux/gtk/glib_timer_scheduler.h"

#include <memory>

namespace taviro::gtk {
namespace {

gboolean RunTick(gpointer data) {
  auto* tick = static_cast<std::function<void()>*>(data);
  // The callback may cancel its own source; the function object lives until
  // GLib lets go of it.
  (*tick)();
  return G_SOURCE_CONTINUE;
}

void FreeTick(gpointer data) { delete static_cast<std::function<void()>*>(data); }

}  // namespace

GLibTimerScheduler::~GLibTimerScheduler() {
  for (const auto& [handle, source] : sources_) {
    g_source_remove(source);
  }
}

TimerScheduler::Handle GLibTimerScheduler::StartRepeating(int interval_ms, std::function<void()> tick) {
  auto owned = std::make_unique<std::function<void()>>(std::move(tick));
  const guint source = g_timeout_add_full(G_PRIORITY_DEFAULT, static_cast<guint>(interval_ms), RunTick,
                                          owned.release(), FreeTick);
  sources_[++last_handle_] = source;
  return last_handle_;
}

void GLibTimerScheduler::Cancel(Handle handle) {
  const auto found = sources_.find(handle);
  if (found != sources_.end()) {
    g_source_remove(found->second);
    sources_.erase(found);
  }
}

}  // namespace taviro::gtk
