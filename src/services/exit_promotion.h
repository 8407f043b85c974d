#pragma once

#include <functional>

#include "services/service_state.h"

namespace taviro {

// What the quit routine `QuitProgram` needs of the promotion window.
class ExitPromotion {
 public:
  virtual ~ExitPromotion() = default;
  // The switch file asked for the promotion window at exit.
  virtual bool Wanted() const = 0;
  // Shows it; `end_run` runs once it has closed, and ends the program's run.
  virtual void Show(std::function<void()> end_run) = 0;
};

// Only the exact text "1" asks for it.
inline bool ExitPromotionWanted(const ServiceState& state) { return state.ExitPromoFlag == "1"; }

}  // namespace taviro
