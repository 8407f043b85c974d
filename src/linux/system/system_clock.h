#pragma once

#include "ports/clock.h"

namespace taviro {

// The wall clock in the local time zone.
class SystemClock final : public Clock {
 public:
  LocalDateTime Now() override;
};

}  // namespace taviro
