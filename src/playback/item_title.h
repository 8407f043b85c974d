#pragma once

#include <string_view>

namespace taviro {

struct MainWindow;

// `bo_name`, the title line in the middle of the status strip, takes
// `caption` and is centred in `bo_zt` (pixels).
void ShowItemTitle(MainWindow& window, std::string_view caption);

}  // namespace taviro
