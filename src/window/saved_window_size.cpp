#include "window/saved_window_size.h"

#include <string>

#include "settings/setting_keys.h"
#include "settings/settings_store.h"

namespace taviro {

bool EdgeResizeEnded(const WindowModel& model, const std::filesystem::path& settings_path) {
  if (model.mini_mode != MiniMode::kOff) {
    return false;
  }
  // A failed write only loses the remembered size; the window goes on.
  const bool width_written =
      WriteSetting(settings_path, settings::kSavedWidth, std::to_string(model.width_twips));
  const bool height_written =
      WriteSetting(settings_path, settings::kSavedHeight, std::to_string(model.height_twips));
  return width_written && height_written;
}

}  // namespace taviro
