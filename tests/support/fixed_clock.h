#pragma once

#include "ports/clock.h"

namespace taviro::testing {

// Always the same moment, 21:05:09 on 6 May 2024 unless a test sets another.
class FixedClock final : public Clock {
 public:
  LocalDateTime Now() override { return now; }
  LocalDateTime now{2024, 5, 6, 21, 5, 9};
};

}  // namespace taviro::testing
