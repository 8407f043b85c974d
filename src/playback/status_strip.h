#pragma once

#include <string_view>

namespace taviro {

struct MainWindow;

// The status label `zhun` is the one place for playback status; it sizes
// itself to its text.
void SetStatusText(MainWindow& window, std::string_view text);

// The time label keeps to the right end of the status strip.
void PlaceTimeLabel(MainWindow& window);

}  // namespace taviro
