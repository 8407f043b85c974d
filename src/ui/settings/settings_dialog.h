#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

#include "util/translate.h"
#include "window/window_body_mouse.h"

namespace taviro {

class DialogWindow;
class FolderChooser;
class ProcessTable;
class ProgramLauncher;
class Prompt;
class UriLauncher;

inline constexpr std::string_view kSettingsCaption = N_("软件设置");
inline constexpr std::string_view kCacheBrowseTitle = N_("请选择影片下载存放的文件夹");
inline constexpr std::string_view kCacheChangedText = N_("缓存路径修改成功！");
inline constexpr std::string_view kNoVendorText = N_("没有找到下载组件的安装文件夹，缓存路径不能修改。");
inline constexpr std::string_view kCacheNotStoredText = N_("下载组件的配置文件不能写入，缓存路径没有修改。");

// The refusal of a folder that cannot be created or written.
std::string UnusableFolderText(std::string_view folder);
std::string SharedFolderText(std::string_view folder);

// The dialog's pages, numbered as their tabs are.
enum class SettingsPage { kAbout = 0, kOptions = 1, kCache = 2 };
inline constexpr int kSettingsPageCount = 3;

// The options page's check boxes, in the order they are written.
enum class DialogOption {
  kCloseToTray,
  kEndVendorOnQuit,
  kRememberSize,
  kBufferNextEpisode,
  kPlayNextEpisode,
  kRecordProgress,
  kSkipVendorAtStart,
  kTrayBalloons,
};
inline constexpr std::size_t kOptionCount = 8;

// What the dialog shows while it is open; the toolkit mirrors it.
struct SettingsDialogModel {
  bool open = false;
  SettingsPage page = SettingsPage::kOptions;
  std::array<bool, kOptionCount> checks{};  // by DialogOption
  std::string folder_text;                  // `Text1`
  std::string current_cache_folder;         // as read at load, then after each change
  bool link_clicked = false;
  bool link_hot = false;   // the web-site link is underlined and red
  bool close_hot = false;  // the close glyph shows its hover face
  bool busy = false;       // `dengdeng`: a folder change is running
  bool operator==(const SettingsDialogModel&) const = default;
};

struct SettingsDialogPorts {
  DialogWindow& window;
  Prompt& prompt;  // message boxes owned by the dialog
  FolderChooser& folders;
  ProcessTable& processes;
  ProgramLauncher& launcher;
  UriLauncher& desktop;
};

// The settings dialog `BA3`: eight on/off options of the settings file and
// the helper's download folder.
class SettingsDialog {
 public:
  SettingsDialog(const SettingsDialogPorts& ports, std::filesystem::path config_path, std::string site_url);

  const SettingsDialogModel& model() const { return model_; }
  const std::string& site_url() const { return site_url_; }

  // Shows the dialog; one that is not open yet loads first, an open one keeps
  // its page and fields.
  void Show();
  void Focus();
  void SelectPage(SettingsPage page);

  // The user's edits.
  void SetCheck(DialogOption option, bool checked);
  void SetFolderText(std::string text);

  void Browse();
  // Writes the options, then moves the download folder when it changed.
  // False when the folder was refused or could not be stored.
  bool Apply();
  void Ok();
  // Cancel and the close glyph: nothing is written.
  void Cancel();

  void CloseGlyphHover(bool inside);
  void LinkHover();
  void LinkClick();
  void PageHover();
  void BackgroundPress(MouseButton button);

 private:
  void Load();
  void WriteOptions() const;
  std::string VendorFolder() const;
  void Inform(std::string_view text) const;

  SettingsDialogPorts ports_;
  std::filesystem::path config_path_;
  std::string site_url_;
  SettingsDialogModel model_;
};

}  // namespace taviro
