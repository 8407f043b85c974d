#include "services/notice_schedule.h"

#include <algorithm>
#include <charconv>

#include "services/headline_file.h"
#include "util/split_text.h"

namespace taviro {
namespace {

constexpr int kMaxWidth = 800;    // 12000 twips
constexpr int kMaxHeight = 600;   // 9000 twips
constexpr int kAboveBottom = 32;  // 480 twips
constexpr int kViewOverhang = 2;
constexpr int kCloseWidth = 40;
constexpr int kCloseHeight = 14;
constexpr int kCloseMargin = 1;

// A whole number with blanks around it, or 0.
int WholeNumber(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return 0;
  text = text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
  if (text.front() == '+') text.remove_prefix(1);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

std::string_view WithoutOuterLineBreaks(std::string_view text) {
  const std::size_t first = text.find_first_not_of("\r\n");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of("\r\n") - first + 1);
}

}  // namespace

std::optional<NoticeSchedule> ParseNoticeSchedule(std::string_view text) {
  if (text.find("||") == std::string_view::npos) return std::nullopt;
  const std::vector<std::string_view> fields = SplitText(text, "||");
  const auto field = [&fields](std::size_t index) {
    return index < fields.size() ? fields[index] : std::string_view();
  };
  NoticeSchedule schedule;
  schedule.delay = WholeNumber(field(0));
  schedule.stay = WholeNumber(field(1));
  schedule.repeat = WholeNumber(field(2));
  if (schedule.delay == 0) schedule.delay = kDefaultNoticeDelay;
  if (schedule.stay == 0) schedule.stay = kDefaultNoticeStay;
  std::vector<std::string_view> entries = SplitText(field(3), "$$$");
  if (entries.size() > kServiceListLimit) entries.resize(kServiceListLimit);
  for (const std::string_view entry : entries) {
    const std::string_view address = WithoutOuterLineBreaks(entry);
    if (address.substr(0, 7) == "http://") schedule.urls.emplace_back(address);
  }
  return schedule;
}

NoticeGeometry PlaceNotice(int page_width, int page_height, const ScreenRect& work_area) {
  const int width = std::clamp(page_width, 1, kMaxWidth);
  const int height = std::clamp(page_height, 1, kMaxHeight);
  NoticeGeometry geometry;
  geometry.window.left = work_area.right - width;
  geometry.window.top = work_area.bottom - height - kAboveBottom;
  geometry.window.right = geometry.window.left + width;
  geometry.window.bottom = geometry.window.top + height;
  geometry.web = {-kViewOverhang, -kViewOverhang, width + 2 * kViewOverhang, height + 2 * kViewOverhang};
  geometry.close_image = {width - kCloseWidth - kCloseMargin, kCloseMargin, kCloseWidth, kCloseHeight};
  return geometry;
}

}  // namespace taviro
