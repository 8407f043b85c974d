#pragma once

#include <gtk/gtk.h>
#include <httplib.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "gui/main_loop_pump.h"
#include "linux/mpv/mpv_player.h"

namespace taviro::testing {

// Makes a clip with ffmpeg: `seconds` of a 320x240 test picture, and a tone
// unless `with_sound` is off. Fails the test when ffmpeg fails.
void MakeClip(const std::filesystem::path& file, int seconds, bool with_sound = true);

// A player in a shown window, its log lines collected.
class PlayerUnderTest {
 public:
  explicit PlayerUnderTest(mpv::RenderPath path = mpv::RenderPath::kSoftware);
  ~PlayerUnderTest();

  mpv::MpvPlayer& player() { return *player_; }
  GtkWindow* window() const { return GTK_WINDOW(window_); }
  // Lines of level "error" or "fatal", as "level prefix: text".
  const std::vector<std::string>& errors() const { return errors_; }
  // Destroys the window while the player lives on, as at the end of the
  // program when the window goes first.
  void DestroyWindow();
  bool WaitForState(PlayerState code, std::chrono::milliseconds limit = std::chrono::seconds(15));
  std::uint64_t Frames() const;

 private:
  std::vector<std::string> errors_;
  std::unique_ptr<mpv::MpvPlayer> player_;
  GtkWidget* window_ = nullptr;
};

// Whether the player has carried out every request made of it so far, and
// the main loop has taken in what it reported since. Its core takes requests
// in order, so a volume change asked for now and read back proves the
// earlier ones done. Changes the volume.
bool CarriedOut(mpv::MpvPlayer& player);

// A static file server on 127.0.0.1 with an ephemeral port, recording the
// paths asked for.
class LoopbackFileServer {
 public:
  explicit LoopbackFileServer(const std::filesystem::path& folder);
  ~LoopbackFileServer();

  std::string Url(const std::string& name) const;
  bool WasAskedFor(const std::string& path) const;

 private:
  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::vector<std::string> paths_;
};

}  // namespace taviro::testing
