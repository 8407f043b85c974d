#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "settings/setting_keys.h"

namespace taviro {

// The settings file is read at every use and written at every change; there
// is no copy in memory. Names and values are UTF-8 here and GB18030 in the
// file.

// The value of `key` in `section`: `default_value` when the file, the
// section or the key is missing, an empty text when the key has an empty
// value. At most 254 bytes of the value (in the file's encoding) are
// returned, cut at the first NUL.
std::string ReadSetting(const std::filesystem::path& file, std::string_view section, std::string_view key,
                        std::string_view default_value);

// The same, from a settings file's bytes already read (none: no file), for a
// reader of several keys.
std::string SettingIn(const std::optional<std::string>& bytes, std::string_view section, std::string_view key,
                      std::string_view default_value);

// Sets `key` in `section`, creating the file, the section or the key as
// needed; the rest of the file stays as it was. The file is replaced
// atomically, so a failed write leaves the old one whole. Returns false when
// nothing could be written, including names and values that would break the
// file's line structure (a line end anywhere, ']' in a section name, '=' in
// a key name or a key starting with ';' or '['). Callers ignore the result.
bool WriteSetting(const std::filesystem::path& file, std::string_view section, std::string_view key,
                  std::string_view value);

// The part of `text` before its first NUL character.
std::string TrimAtNul(std::string_view text);

inline std::string ReadSetting(const std::filesystem::path& file, const SettingKey& setting,
                               std::string_view default_value) {
  return ReadSetting(file, setting.section, setting.key, default_value);
}

inline bool WriteSetting(const std::filesystem::path& file, const SettingKey& setting,
                         std::string_view value) {
  return WriteSetting(file, setting.section, setting.key, value);
}

}  // namespace taviro
