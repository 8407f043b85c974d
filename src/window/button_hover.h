#pragma once

#include "window/window_model.h"

namespace taviro {

class TextMetrics;
class WindowHost;

// What the hover rules reach besides the model: the window's pointer and the
// size of the tooltip label.
struct ChromeEnv {
  WindowHost& host;
  TextMetrics& text;
};

// The toolkit reports pointer motion over a button (x, y relative to the
// button) and the pointer leaving it; leaving plays the part of the pointer
// moving outside a button that had captured the mouse.

// Title-bar buttons and tabs, npc(index): hover faces for 0..5 and the
// tooltip panel P1 below the button.
void TitleButtonPointerMoved(WindowModel& model, const ChromeEnv& env, int index, int x, int y);
void TitleButtonPointerLeft(WindowModel& model, const ChromeEnv& env, int index);

// Control-bar buttons, bo_but(index): hover faces, and the tooltip panel
// above the control bar while the player tab is selected.
void ControlButtonPointerMoved(WindowModel& model, const ChromeEnv& env, int index, int x, int y);
void ControlButtonPointerLeft(WindowModel& model, const ChromeEnv& env, int index);

// The pointer over one of the other regions with hover feedback: jbi, qk,
// shan, bo_ad, bo_zt, zz, jia and Lqvod. Other regions are ignored.
void RegionPointerMoved(WindowModel& model, WindowHost& host, RegionId id);

}  // namespace taviro
