#pragma once

#include <string>
#include <string_view>

namespace taviro {

struct MainWindow;
struct PlaybackContext;

// Plays the record on `line` of the list that is shown, as a click on its
// row does: a local file in the player (or, when the file has gone, a
// notice and the row removed); a network task in the player when it is the
// download helper's, otherwise on the service's play page. A network task
// also brings up its episode list.
void PlayListEntry(PlaybackContext& context, std::string_view line);
// The local list's line, as a click on its row plays it whichever list shows.
void PlayLocalListLine(PlaybackContext& context, int line_number);

// The item's name, centred in the bar above the video.
void ShowItemName(MainWindow& window, std::string caption);

}  // namespace taviro
