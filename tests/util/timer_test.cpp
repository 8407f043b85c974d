#include "util/timer.h"

#include <gtest/gtest.h>

#include "support/manual_scheduler.h"

namespace taviro {
namespace {

TEST(Timer, TicksEveryIntervalWhileEnabled) {
  testing::ManualScheduler clock;
  int ticks = 0;
  Timer timer(clock, 1000, true, [&] { ++ticks; });
  clock.Advance(999);
  EXPECT_EQ(ticks, 0);
  clock.Advance(1);
  EXPECT_EQ(ticks, 1);
  clock.Advance(3000);
  EXPECT_EQ(ticks, 4);
  timer.SetEnabled(false);
  clock.Advance(5000);
  EXPECT_EQ(ticks, 4);
}

TEST(Timer, EnablingARunningTimerKeepsItsCountButAStoppedOneStartsAgain) {
  testing::ManualScheduler clock;
  int ticks = 0;
  Timer timer(clock, 1000, true, [&] { ++ticks; });
  clock.Advance(600);
  timer.SetEnabled(true);
  clock.Advance(400);
  EXPECT_EQ(ticks, 1);
  timer.SetEnabled(false);
  timer.SetEnabled(true);
  clock.Advance(600);
  EXPECT_EQ(ticks, 1);
  clock.Advance(400);
  EXPECT_EQ(ticks, 2);
}

TEST(Timer, AOneShotDisablesItselfFromItsHandler) {
  testing::ManualScheduler clock;
  int ticks = 0;
  Timer* self = nullptr;
  Timer timer(clock, 10, true, [&] {
    ++ticks;
    self->SetEnabled(false);
  });
  self = &timer;
  clock.Advance(100);
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(clock.active(), 0U);
}

}  // namespace
}  // namespace taviro
