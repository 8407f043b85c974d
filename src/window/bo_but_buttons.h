#pragma once

namespace taviro::bo_but {

// The indices of the control bar's `bo_but` buttons. `BoBut(index)` is the
// button's region; `ClickControlBar` presses it.
inline constexpr int kPlayPause = 0;
inline constexpr int kStop = 1;
inline constexpr int kMute = 2;
inline constexpr int kFullScreen = 3;
inline constexpr int kOpenFile = 4;   // opens a local file
inline constexpr int kPrevious = 5;   // the previous episode
inline constexpr int kSidePanel = 6;  // shows or hides the side panel
inline constexpr int kNext = 7;       // the next episode

inline constexpr int kCount = 8;

}  // namespace taviro::bo_but
