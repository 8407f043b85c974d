#pragma once

#include <string_view>

#include "playback/key_code.h"

namespace taviro {

struct PlaybackContext;

// Position and duration on the time label are joined by this.
inline constexpr std::string_view kTimeSeparator = " / ";

// The main window's key handler. While the player shows: space plays or
// pauses, left and right seek 10 s back and on, up and down change the
// volume by 10 %. The status poller is held while seeking and runs again
// after any key.
void PlayerKeyDown(PlaybackContext& context, KeyCode key);

}  // namespace taviro
