#include "linux/mpv/main_loop_waker.h"

#include <utility>

namespace taviro::mpv {

struct MainLoopWaker::Source {
  GSource base;
  MainLoopWaker* owner;
};

MainLoopWaker::MainLoopWaker(std::function<void()> handler) : handler_(std::move(handler)) {
  // GLib keeps the pointer and never writes through it.
  static GSourceFuncs funcs = {nullptr, nullptr, &MainLoopWaker::Dispatch, nullptr, nullptr, nullptr};
  source_ = g_source_new(&funcs, sizeof(Source));
  reinterpret_cast<Source*>(source_)->owner = this;
  g_source_set_name(source_, "taviro-mpv-waker");
  g_source_set_ready_time(source_, -1);
  g_source_attach(source_, nullptr);
}

MainLoopWaker::~MainLoopWaker() {
  g_source_destroy(source_);
  g_source_unref(source_);
}

void MainLoopWaker::Wake() { g_source_set_ready_time(source_, 0); }

void MainLoopWaker::WakeFromAnyThread(void* data) { static_cast<MainLoopWaker*>(data)->Wake(); }

gboolean MainLoopWaker::Dispatch(GSource* source, GSourceFunc /*callback*/, gpointer /*data*/) {
  // Re-arm before running, so a wake during the handler schedules another run.
  g_source_set_ready_time(source, -1);
  reinterpret_cast<Source*>(source)->owner->handler_();
  return G_SOURCE_CONTINUE;
}

}  // namespace taviro::mpv
