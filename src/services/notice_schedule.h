#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/window_host.h"
#include "window/window_model.h"

namespace taviro {

inline constexpr int kDefaultNoticeDelay = 120;  // seconds
inline constexpr int kDefaultNoticeStay = 30;    // minutes

// "lib/tan.txt": delay||stay||repeat||addresses joined by "$$$".
struct NoticeSchedule {
  int delay = kDefaultNoticeDelay;  // NoticeDelay, ticks of Timerc
  int stay = kDefaultNoticeStay;    // NoticeStay, ticks of Timert
  int repeat = 0;                   // NoticeRepeat: 1 starts over after the last page
  std::vector<std::string> urls;    // NoticeUrls: only "http://" addresses
};

// Nothing when the text holds no "||". A number that is 0, empty or not a
// whole number gives its default; of the first 51 addresses only those
// starting "http://" are kept.
std::optional<NoticeSchedule> ParseNoticeSchedule(std::string_view text);

// Where the notice window goes for a page of this scroll size (pixels):
// at most 800 x 600, its right edge on the work area's right edge and its
// bottom 32 pixels above the work area's bottom. Inside it the view hangs
// 2 pixels over every edge (so its own border is never seen) and the close
// image sits in the top-right corner.
struct NoticeGeometry {
  ScreenRect window;
  Rect web;
  Rect close_image;
};
NoticeGeometry PlaceNotice(int page_width, int page_height, const ScreenRect& work_area);

}  // namespace taviro
