#pragma once

#include "canvas.h"
#include "skin.h"

namespace taviro::skin_art {

inline constexpr int kBarHeight = 43;
inline constexpr int kBarButton = 25;
inline constexpr int kBarButtonTop = 11;  // small buttons and the volume bar sit this far down the bar
inline constexpr int kKnobTop = 6;        // the knob's top inside the volume bar
inline constexpr int kGrooveTop = 10;     // the volume groove's first row inside the volume bar

// 1 x 43: the control-bar strip, stretched sideways.
Canvas DrawBarStrip(const Skin& skin);
// 10 x 10: the volume knob.
Canvas DrawVolumeKnob(const Skin& skin);
// 80 x 24: the volume bar with its empty groove.
Canvas DrawVolumeBar(const Skin& skin);
// 232 x 43: play, play under the pointer, pause, pause under the pointer.
Canvas DrawPlayPause(const Skin& skin);
// 50 x 25: stop, stop under the pointer.
Canvas DrawStopButton(const Skin& skin);
// 100 x 25: sound on, on under the pointer, muted, muted under the pointer.
Canvas DrawMuteButton(const Skin& skin);
// 100 x 25: (spare), open file, full screen, side panel; at rest or hovered.
Canvas DrawToolButtons(const Skin& skin, bool hover);
// 100 x 25: previous episode, hovered; next episode, hovered.
Canvas DrawEpisodeButtons(const Skin& skin);

}  // namespace taviro::skin_art
