#pragma once

#include <string_view>

namespace taviro {

struct MainWindow;

// The status strip above the control bar: `zhun` on the left says what
// playback is doing, `bo_name` in the middle names the item.

void SetStatusText(MainWindow& window, std::string_view text);

// `bo_name` takes `caption` and is centred in `bo_zt` (pixels).
void ShowItemTitle(MainWindow& window, std::string_view caption);

}  // namespace taviro
