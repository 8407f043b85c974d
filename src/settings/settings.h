#pragma once

#include <filesystem>
#include <string>

namespace taviro {

// The settings the program's rules read, typed. The file stays the truth:
// each use loads it afresh, so what another start of the program or the
// settings dialog wrote is seen at once. Each field follows the one rule the
// program has always read its key by (a missing key reads "0").
struct Settings {
  int skin = 0;                             // Skin Num, the number as stored
  std::string user_id;                      // User Name
  bool remember_size = false;               // s_size is 2
  int saved_width_twips = 0;                // h_w
  int saved_height_twips = 0;               // h_h
  bool close_question_pending = false;      // ts is 3: quit is asked once
  bool close_to_tray = true;                // quit is anything but 1
  bool end_vendor_on_quit = false;          // qvodk is 2
  bool stop_vendor_player_at_start = true;  // qvodqi is anything but "1"
  bool buffer_next_episode = false;         // s_h is 2
  bool play_next_episode = false;           // s_bo is "2"
  bool tray_balloons = false;               // s_pao is 2
  std::string vendor_folder;                // qvodw; empty when unset ("0")

  static Settings Load(const std::filesystem::path& file);
};

// Each stores one setting at once, as the program writes it; false when the
// file could not be written (callers that only lose the setting ignore it).
bool SaveWindowSize(const std::filesystem::path& file, int width_twips, int height_twips);
bool SaveCloseQuestionAsked(const std::filesystem::path& file);
bool SaveCloseToTray(const std::filesystem::path& file, bool to_tray);
bool SaveSkin(const std::filesystem::path& file, int skin);
bool SaveVendorFolder(const std::filesystem::path& file, const std::string& folder);

}  // namespace taviro
