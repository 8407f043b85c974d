#include "ui/settings/settings_dialog.h"

#include "helper/vendor_save_path.h"
#include "playback/browse_for_folder.h"
#include "ports/dialog_window.h"
#include "ports/prompt.h"
#include "ports/uri_launcher.h"
#include "settings/setting_keys.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "ui/settings/cache_folder.h"
#include "ui/settings/settings_dialog_design.h"
#include "window/title_bar_commands.h"

namespace taviro {

std::string UnusableFolderText(std::string_view folder) {
  return "文件夹“" + std::string(folder) + "”不能创建或不能写入，缓存路径没有修改。请另选一个文件夹。";
}

std::string SharedFolderText(std::string_view folder) {
  return "文件夹“" + std::string(folder) +
         "”其他用户也能写入，他们可能读取或破坏下载的文件。仍然使用这个文件夹吗？";
}

SettingsDialog::SettingsDialog(const SettingsDialogPorts& ports, std::filesystem::path config_path,
                               std::string site_url)
    : ports_(ports), config_path_(std::move(config_path)), site_url_(std::move(site_url)) {}

void SettingsDialog::Show() {
  if (!model_.open) Load();
  model_.open = true;
  ports_.window.Show();
}

void SettingsDialog::Focus() {
  if (model_.open) ports_.window.Focus();
}

void SettingsDialog::Load() {
  model_ = SettingsDialogModel{};
  model_.page = SettingsPage::kOptions;
  // Only an explicit "1" clears a box: a missing key reads "0", which shows
  // checked, so a fresh file shows every box checked.
  for (const OptionRow& row : kOptionRows) {
    model_.checks[static_cast<std::size_t>(row.option)] =
        ReadSetting(config_path_, row.key, settings::kUnset) != settings::kOff;
  }
  model_.current_cache_folder = ReadSavePath(VendorFilesFolder(config_path_.parent_path()));
  model_.folder_text =
      model_.current_cache_folder.empty() ? DefaultCacheFolder() : model_.current_cache_folder;
  model_.link_clicked = false;
}

std::string SettingsDialog::VendorFolder() const {
  return KnownVendorFolder(Settings::Load(config_path_).vendor_folder);
}

void SettingsDialog::SelectPage(SettingsPage page) { model_.page = page; }

void SettingsDialog::SetCheck(DialogOption option, bool checked) {
  model_.checks[static_cast<std::size_t>(option)] = checked;
}

void SettingsDialog::SetFolderText(std::string text) { model_.folder_text = std::move(text); }

void SettingsDialog::Browse() {
  const std::string before = model_.folder_text;
  std::string chosen = BrowseForFolder(ports_.folders, before, kCacheBrowseTitle);
  // A cancelled picker leaves the folder as it was: never an empty text,
  // which with its "/" would name the root folder.
  if (chosen.empty()) chosen = model_.current_cache_folder.empty() ? before : model_.current_cache_folder;
  model_.folder_text = WithTrailingSlash(std::move(chosen));
}

void SettingsDialog::WriteOptions() const {
  for (const OptionRow& row : kOptionRows) {
    WriteSetting(config_path_, row.key,
                 model_.checks[static_cast<std::size_t>(row.option)] ? settings::kOn : settings::kOff);
  }
}

bool SettingsDialog::Apply() {
  // The options are written whatever becomes of the folder.
  WriteOptions();
  const std::string folder = CacheFolderFromText(model_.folder_text);
  const bool folder_changed = folder != model_.current_cache_folder;
  if (!folder_changed) {
    model_.folder_text = folder;
    return true;
  }
  const std::string vendor_folder = VendorFolder();
  // A refused folder stays in the field, as typed, to be corrected.
  if (vendor_folder.empty()) {
    Inform(kNoVendorText);
    return false;
  }
  if (!MakeFolderUsable(folder)) {
    Inform(UnusableFolderText(folder));
    return false;
  }
  if (OthersMayWrite(folder) &&
      !ports_.prompt.AskYesNo(std::string(kPromptCaption), SharedFolderText(folder))) {
    return false;
  }
  model_.folder_text = folder;

  model_.busy = true;
  ports_.window.ProcessPendingEvents();
  const bool stored = MoveCacheFolder(ports_.processes, ports_.launcher, vendor_folder,
                                      VendorFilesFolder(config_path_.parent_path()), folder);
  // The message box must not show over "please wait".
  model_.busy = false;
  ports_.window.ProcessPendingEvents();
  if (!stored) {
    Inform(kCacheNotStoredText);
    return false;
  }
  model_.current_cache_folder = folder;
  Inform(kCacheChangedText);
  return true;
}

void SettingsDialog::Ok() {
  if (Apply()) Cancel();
}

void SettingsDialog::Cancel() {
  if (!model_.open) return;
  model_ = SettingsDialogModel{};
  ports_.window.Close();
}

void SettingsDialog::CloseGlyphHover(bool inside) { model_.close_hot = inside; }

void SettingsDialog::LinkHover() {
  if (!model_.link_clicked) model_.link_hot = true;
}

void SettingsDialog::LinkClick() {
  ports_.desktop.Open(site_url_);
  model_.link_clicked = true;
  model_.link_hot = false;
}

void SettingsDialog::PageHover() {
  model_.link_clicked = false;
  model_.link_hot = false;
}

void SettingsDialog::BackgroundPress(MouseButton button) {
  if (button == MouseButton::kLeft) ports_.window.BeginMoveDrag();
}

void SettingsDialog::Inform(std::string_view text) const {
  ports_.prompt.Inform(std::string(kPromptCaption), std::string(text));
}

}  // namespace taviro
