#pragma once

namespace taviro {

struct MainWindow;

// Mini mode shrinks the window to the playing video: 1 for the player or the
// web play page, 2 for the TV page. Nothing playing, nothing happens.
inline constexpr int kMiniWidthTwips = 5900;
inline constexpr int kMiniHeightTwips = 4800;

void EnterMiniMode(MainWindow& window);

// The `jbi` click: back to the normal window at the size saved in the
// settings, centred on the screen.
void JbiClick(MainWindow& window);

}  // namespace taviro
