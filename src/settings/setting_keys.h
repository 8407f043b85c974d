#pragma once

#include <array>
#include <string_view>

namespace taviro {

// The settings file beside the executable.
inline constexpr std::string_view kConfigFileName = "config.dll";

struct SettingKey {
  std::string_view section;
  std::string_view key;
};

struct SettingDefault {
  SettingKey setting;
  std::string_view value;
};

namespace settings {

// Section names are spelled as the program writes them; reads match them
// without regard to case.
inline constexpr SettingKey kProductName{"main", "Name"};
inline constexpr SettingKey kUserId{"User", "Name"};
inline constexpr SettingKey kSkin{"Skin", "Num"};
inline constexpr SettingKey kVersion{"Ver", "Name"};
inline constexpr SettingKey kCloseQuestion{"S_q", "ts"};
inline constexpr SettingKey kCloseToTray{"S_q", "quit"};
inline constexpr SettingKey kEndVendorOnQuit{"S_q", "qvodk"};
inline constexpr SettingKey kRememberSize{"S_q", "s_size"};
inline constexpr SettingKey kSavedWidth{"S_q", "h_w"};
inline constexpr SettingKey kSavedHeight{"S_q", "h_h"};
inline constexpr SettingKey kBufferNextEpisode{"S_q", "s_h"};
inline constexpr SettingKey kPlayNextEpisode{"S_q", "s_bo"};
inline constexpr SettingKey kRecordProgress{"S_q", "s_jd"};
inline constexpr SettingKey kStopVendorPlayerAtStart{"S_q", "qvodqi"};
inline constexpr SettingKey kTrayBalloons{"S_q", "s_pao"};
inline constexpr SettingKey kVendorFolder{"S_q", "qvodw"};

// What every reader passes as the default: a missing key reads "0".
inline constexpr std::string_view kUnset = "0";
// The on/off options.
inline constexpr std::string_view kOn = "2";
inline constexpr std::string_view kOff = "1";

inline constexpr std::string_view kProductNameValue = "Taviro";
inline constexpr std::string_view kVersionValue = "2.3";
inline constexpr std::string_view kSkinAtCreation = "1";
inline constexpr std::string_view kCloseQuestionNotAsked = "3";
inline constexpr std::string_view kCloseQuestionAsked = "1";

inline constexpr int kDefaultWidthTwips = 14850;
inline constexpr int kDefaultHeightTwips = 9830;

// The S_q keys that get their default back whenever they read as 0, in the
// order they are created and repaired.
inline constexpr std::array<SettingDefault, 10> kRestoredWhenZero{{
    {kCloseToTray, kOn},
    {kEndVendorOnQuit, kOn},
    {kRememberSize, kOn},
    {kSavedWidth, "14850"},
    {kSavedHeight, "9830"},
    {kBufferNextEpisode, kOn},
    {kPlayNextEpisode, kOn},
    {kRecordProgress, kOn},
    {kStopVendorPlayerAtStart, kOn},
    {kTrayBalloons, kOn},
}};

}  // namespace settings
}  // namespace taviro
