#include "linux/system/view_dispatch.h"

#include <gtest/gtest.h>

namespace taviro {
namespace {

gboolean SetFlag(gpointer flag) {
  *static_cast<bool*>(flag) = true;
  return G_SOURCE_REMOVE;
}

// A sync that queues work (as a redraw does) must not leave the loop asleep
// past it: the loop would wait for the next event with the window stale.
TEST(ViewDispatch, WorkASyncQueuesRunsWithoutWaitingForAnotherEvent) {
  bool queued = false;
  bool ran = false;
  ViewDispatch dispatch([&] {
    if (!queued) g_timeout_add(0, SetFlag, &ran);
    queued = true;
  });
  bool deadline_passed = false;
  const guint deadline = g_timeout_add(5000, SetFlag, &deadline_passed);
  while (!ran && !deadline_passed) g_main_context_iteration(nullptr, TRUE);
  EXPECT_TRUE(ran);
  EXPECT_FALSE(deadline_passed);
  if (!deadline_passed) g_source_remove(deadline);
}

}  // namespace
}  // namespace taviro
