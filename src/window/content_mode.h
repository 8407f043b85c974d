#pragma once

namespace taviro {

struct MainWindow;

// What the video area shows.
enum class ContentMode : int {
  kNothingShown = 0,
  kWebPlayPage = 1,  // Web2 inside Pic2
  kPlayer = 2,       // the player inside qvod
  kTvPage = 3,       // Web10 inside tvleft
};

// Switches the video area, closing what it showed before. Leaving the player
// always stops it first (even for player to player), so the position of the
// item being left is stored.
void SetContentMode(MainWindow& window, ContentMode mode);

// Empties the status strip and the bars of the item that was playing: no
// title, no time, thumb and download bar at the start.
void ClearPlayStrip(MainWindow& window);

// The close buttons of the web play page and of the TV page.
void GgxClick(MainWindow& window);
void GtvClick(MainWindow& window);

}  // namespace taviro
