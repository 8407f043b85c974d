#pragma once

#include <array>
#include <string_view>

#include "settings/setting_keys.h"
#include "ui/settings/settings_dialog.h"
#include "util/translate.h"
#include "window/window_chrome.h"
#include "window/window_model.h"

namespace taviro {

// The dialog keeps its designed size (pixels); it cannot be resized.
inline constexpr int kSettingsDialogWidth = 476;
inline constexpr int kSettingsDialogHeight = 344;

// Where the dialog's parts go for its inner size, in pixels; the body's
// children are relative to the body, the pages' to the page area.
struct SettingsDialogLayout {
  Rect title;  // `ni_name`, at its place (its size is the label's own)
  Rect body;
  Rect tab_column;
  Rect tab_background;
  Rect page_area;
  std::array<Rect, kSettingsPageCount> tabs;  // by page index
  Rect page;                                  // each page panel
  Rect close_glyph;                           // `guan`, in the dialog
};

SettingsDialogLayout LayoutSettingsDialog(int width, int height);

// The nine-piece frame from skin picture 0, in painting order.
std::array<FramePiece, 8> SettingsFramePieces(int width, int height);

// The close glyph's face: picture 2 under the pointer, else picture 1.
Tile CloseGlyphFace(bool hot);

// A page tab's colours (0xBBGGRR): the selected one orange on white text,
// the others grey with black text.
struct TabLook {
  Colour background;
  Colour text;
};
TabLook TabLookOf(bool selected);

// The web-site link: red and underlined under the pointer, else blue.
struct LinkLook {
  Colour text;
  bool underlined;
};
LinkLook LinkLookOf(bool hot);

inline constexpr std::string_view kTabCaptions[kSettingsPageCount] = {N_("关于软件"), N_("软件设置"),
                                                                      N_("缓存设置")};

// A check box as the options page places it, in page order.
// One row per option, in DialogOption's order: its caption, its place on
// the page (top to bottom is the keyboard's order) and the setting it
// stores.
struct OptionRow {
  DialogOption option;
  std::string_view caption;
  int x;
  int y;
  SettingKey key;
};
inline constexpr std::array<OptionRow, kOptionCount> kOptionRows{{
    {DialogOption::kCloseToTray, N_("关闭软件最小化到托盘"), 48, 41, settings::kCloseToTray},
    {DialogOption::kEndVendorOnQuit, N_("关闭软件同时关闭快播(Qvod)"), 48, 84, settings::kEndVendorOnQuit},
    {DialogOption::kRememberSize, N_("保存软件界面大小"), 48, 128, settings::kRememberSize},
    {DialogOption::kBufferNextEpisode, N_("自动缓冲下一集"), 48, 184, settings::kBufferNextEpisode},
    {DialogOption::kPlayNextEpisode, N_("自动播放下一集"), 48, 208, settings::kPlayNextEpisode},
    {DialogOption::kRecordProgress, N_("记录影片播放进度"), 48, 232, settings::kRecordProgress},
    {DialogOption::kSkipVendorAtStart, N_("启动软件不启动快播(Qvod)"), 48, 63,
     settings::kStopVendorPlayerAtStart},
    {DialogOption::kTrayBalloons, N_("托盘显示气泡提示"), 48, 105, settings::kTrayBalloons},
}};
inline constexpr int kCheckBoxHeight = 17;

// The buttons of the body's bottom strip.
inline constexpr Rect kOkButton{192, 275, 73, 25};
inline constexpr Rect kCancelButton{280, 275, 73, 25};
inline constexpr Rect kApplyButton{368, 275, 73, 25};

// The cache page.
inline constexpr Rect kFolderField{56, 96, 177, 18};
inline constexpr Rect kBrowseButton{240, 96, 49, 17};

// The about page's link, after the layout moved it.
inline constexpr int kLinkTop = 200;

}  // namespace taviro
