#pragma once

#include "window/window_model.h"

namespace taviro {

// The skin tile a button shows, in its normal or its hover look. Toggle
// buttons read their state from the model (window state, tooltip texts).

// Title-bar buttons npc(0..5).
Tile TitleButtonFace(const WindowModel& model, int index, bool hover);

// Control-bar buttons bo_but(0..7).
Tile ControlButtonFace(const WindowModel& model, int index, bool hover);

}  // namespace taviro
