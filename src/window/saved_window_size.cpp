#include "window/saved_window_size.h"

#include "settings/settings.h"

namespace taviro {

bool EdgeResizeEnded(const WindowModel& model, const std::filesystem::path& settings_path) {
  if (model.mini_mode != MiniMode::kOff) {
    return false;
  }
  // A failed write only loses the remembered size; the window goes on.
  return SaveWindowSize(settings_path, model.width_twips, model.height_twips);
}

}  // namespace taviro
