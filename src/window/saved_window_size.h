#pragma once

#include <filesystem>

#include "window/window_model.h"

namespace taviro {

// Called by the toolkit when an edge resize of the window has ended: a
// normal-mode size is kept as "h_w"/"h_h" of section "S_q" (outer size in
// twips), the size that leaving mini mode returns to. A mini-mode resize
// keeps the saved size. Returns whether anything was written.
bool EdgeResizeEnded(const WindowModel& model, const std::filesystem::path& settings_path);

}  // namespace taviro
