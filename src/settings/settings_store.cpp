#include "settings/settings_store.h"

#include <system_error>

#include "util/ansi_chars.h"
#include "util/ansi_text.h"
#include "util/file_io.h"
#include "util/profile_text.h"

namespace taviro {
namespace {

// The Windows reader's buffer of 255 bytes, less the terminating NUL.
constexpr std::size_t kMaxValueBytes = 254;

bool HasLineEnd(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

bool IsSafeSection(std::string_view section) {
  return !section.empty() && !HasLineEnd(section) && section.find(']') == std::string_view::npos;
}

// A key starting with ';' or '[' would turn its line into a comment or a
// section header.
bool IsSafeKey(std::string_view key) {
  return !key.empty() && key.front() != ';' && key.front() != '[' && !HasLineEnd(key) &&
         key.find('=') == std::string_view::npos;
}

// Tells a missing file, which the first write creates, from one that is
// there but cannot be read, which must not be replaced.
bool MayExist(const std::filesystem::path& file) {
  std::error_code error;
  const bool exists = std::filesystem::exists(file, error);
  return exists || error;
}

}  // namespace

std::string TrimAtNul(std::string_view text) { return std::string(text.substr(0, text.find('\0'))); }

std::string ReadSetting(const std::filesystem::path& file, std::string_view section, std::string_view key,
                        std::string_view default_value) {
  return SettingIn(ReadFileBytes(file), section, key, default_value);
}

std::string SettingIn(const std::optional<std::string>& bytes, std::string_view section, std::string_view key,
                      std::string_view default_value) {
  if (!bytes) {
    return std::string(default_value);
  }
  const auto value = FindProfileValue(*bytes, EncodeAnsi(section), EncodeAnsi(key));
  if (!value) {
    return std::string(default_value);
  }
  return TrimAtNul(DecodeAnsi(CutAnsiText(*value, kMaxValueBytes)));
}

bool WriteSetting(const std::filesystem::path& file, std::string_view section, std::string_view key,
                  std::string_view value) {
  section = TrimBlanks(section);
  key = TrimBlanks(key);
  if (!IsSafeSection(section) || !IsSafeKey(key) || HasLineEnd(value)) {
    return false;
  }
  auto old_text = ReadFileBytes(file);
  if (!old_text && MayExist(file)) {
    return false;
  }
  const std::string new_text =
      SetProfileValue(old_text.value_or(""), EncodeAnsi(section), EncodeAnsi(key), EncodeAnsi(value));
  if (old_text && new_text == *old_text) {
    return true;
  }
  return WriteFileAtomically(file, new_text);
}

}  // namespace taviro
