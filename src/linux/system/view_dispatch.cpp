#include "linux/system/view_dispatch.h"

namespace taviro {
namespace {

struct DispatchSource {
  GSource base;
  ViewDispatch* owner;
};

}  // namespace

ViewDispatch::ViewDispatch(std::function<void()> sync) : sync_(std::move(sync)) {
  static GSourceFuncs funcs{Prepare, nullptr, nullptr, nullptr, nullptr, nullptr};
  source_ = g_source_new(&funcs, sizeof(DispatchSource));
  reinterpret_cast<DispatchSource*>(source_)->owner = this;
  // Prepared first: a redraw or timer a sync adds has a lower priority, so
  // the same iteration still prepares it and the loop does not sleep past it.
  g_source_set_priority(source_, G_PRIORITY_HIGH);
  g_source_set_name(source_, "taviro view dispatch");
  g_source_attach(source_, nullptr);
}

ViewDispatch::~ViewDispatch() {
  g_source_destroy(source_);
  g_source_unref(source_);
}

gboolean ViewDispatch::Prepare(GSource* source, gint* timeout) {
  reinterpret_cast<DispatchSource*>(source)->owner->sync_();
  *timeout = -1;
  return FALSE;
}

}  // namespace taviro
