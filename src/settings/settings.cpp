#include "settings/settings.h"

#include "settings/setting_keys.h"
#include "settings/settings_store.h"
#include "util/file_io.h"
#include "util/text_number.h"

namespace taviro {

Settings Settings::Load(const std::filesystem::path& file) {
  const std::optional<std::string> bytes = ReadFileBytes(file);  // once, for every key
  const auto text = [&bytes](const SettingKey& key) {
    return SettingIn(bytes, key.section, key.key, settings::kUnset);
  };
  const auto number = [&text](const SettingKey& key) { return ToInteger(text(key)); };
  Settings loaded;
  loaded.skin = number(settings::kSkin);
  loaded.user_id = text(settings::kUserId);
  loaded.remember_size = number(settings::kRememberSize) == 2;
  loaded.saved_width_twips = number(settings::kSavedWidth);
  loaded.saved_height_twips = number(settings::kSavedHeight);
  loaded.close_question_pending = number(settings::kCloseQuestion) == 3;
  loaded.close_to_tray = number(settings::kCloseToTray) != 1;
  loaded.end_vendor_on_quit = number(settings::kEndVendorOnQuit) == 2;
  loaded.stop_vendor_player_at_start = text(settings::kStopVendorPlayerAtStart) != settings::kOff;
  loaded.buffer_next_episode = number(settings::kBufferNextEpisode) == 2;
  loaded.play_next_episode = text(settings::kPlayNextEpisode) == settings::kOn;
  loaded.tray_balloons = number(settings::kTrayBalloons) == 2;
  loaded.vendor_folder = text(settings::kVendorFolder);
  if (loaded.vendor_folder == settings::kUnset) loaded.vendor_folder.clear();
  return loaded;
}

bool SaveWindowSize(const std::filesystem::path& file, int width_twips, int height_twips) {
  const bool width_saved = WriteSetting(file, settings::kSavedWidth, std::to_string(width_twips));
  return WriteSetting(file, settings::kSavedHeight, std::to_string(height_twips)) && width_saved;
}

bool SaveCloseQuestionAsked(const std::filesystem::path& file) {
  return WriteSetting(file, settings::kCloseQuestion, settings::kCloseQuestionAsked);
}

bool SaveCloseToTray(const std::filesystem::path& file, bool to_tray) {
  return WriteSetting(file, settings::kCloseToTray, to_tray ? settings::kOn : settings::kOff);
}

bool SaveSkin(const std::filesystem::path& file, int skin) {
  return WriteSetting(file, settings::kSkin, std::to_string(skin));
}

bool SaveVendorFolder(const std::filesystem::path& file, const std::string& folder) {
  return WriteSetting(file, settings::kVendorFolder, folder);
}

}  // namespace taviro
