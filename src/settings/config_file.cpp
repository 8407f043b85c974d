#include "settings/config_file.h"

#include <string_view>
#include <system_error>

#include "settings/setting_keys.h"
#include "settings/settings_store.h"
#include "util/text_number.h"

namespace taviro {
namespace {

// Settings writes fail silently: a key that could not be written reads as
// missing and is repaired again at the next start.
void Store(const std::filesystem::path& config_path, const SettingKey& setting, std::string_view value) {
  static_cast<void>(WriteSetting(config_path, setting, value));
}

void CreateConfig(const std::filesystem::path& config_path,
                  const std::function<std::string()>& make_identity) {
  Store(config_path, settings::kProductName, settings::kProductNameValue);
  Store(config_path, settings::kUserId, make_identity());
  Store(config_path, settings::kSkin, settings::kSkinAtCreation);
  Store(config_path, settings::kVersion, settings::kVersionValue);
  Store(config_path, settings::kCloseQuestion, settings::kCloseQuestionNotAsked);
  for (const SettingDefault& entry : settings::kRestoredWhenZero) {
    Store(config_path, entry.setting, entry.value);
  }
}

void RepairConfig(const std::filesystem::path& config_path,
                  const std::function<std::string()>& make_identity) {
  const auto read = [&](const SettingKey& setting) {
    return ReadSetting(config_path, setting, settings::kUnset);
  };
  const std::string user_id = read(settings::kUserId);
  if (user_id.empty() || user_id == settings::kUnset) {
    Store(config_path, settings::kUserId, make_identity());
  }
  if (read(settings::kVersion) != settings::kVersionValue) {
    Store(config_path, settings::kVersion, settings::kVersionValue);
  }
  const int close_question = ToInteger(read(settings::kCloseQuestion));
  if (close_question != 1 && close_question != 2) {
    Store(config_path, settings::kCloseQuestion, settings::kCloseQuestionNotAsked);
  }
  for (const SettingDefault& entry : settings::kRestoredWhenZero) {
    if (ToInteger(read(entry.setting)) == 0) {
      Store(config_path, entry.setting, entry.value);
    }
  }
}

}  // namespace

void CreateOrRepairConfig(const std::filesystem::path& config_path,
                          const std::function<std::string()>& make_identity) {
  std::error_code error;
  if (!std::filesystem::exists(config_path, error) && !error) {
    CreateConfig(config_path, make_identity);
  }
  RepairConfig(config_path, make_identity);
}

}  // namespace taviro
