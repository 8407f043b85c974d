#include "mpv_harness.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace taviro::testing {

void MakeClip(const std::filesystem::path& file, int seconds, bool with_sound) {
  const std::string duration = std::to_string(seconds);
  std::vector<std::string> args = {
      "ffmpeg", "-v",    "error", "-y",
      "-f",     "lavfi", "-i",    "testsrc=duration=" + duration + ":size=320x240:rate=25"};
  if (with_sound) {
    // A different tone on each side, so the channel filters have something
    // to tell apart.
    args.insert(args.end(),
                {"-f", "lavfi", "-i", "aevalsrc=sin(440*2*PI*t)|sin(1000*2*PI*t):s=44100:d=" + duration,
                 "-c:a", "aac"});
  }
  args.insert(args.end(), {"-c:v", "libx264", "-preset", "ultrafast", "-g", "25", "-pix_fmt", "yuv420p",
                           "-movflags", "+faststart", "-shortest", file.string()});
  std::vector<char*> argv;
  for (auto& arg : args) {
    argv.push_back(arg.data());
  }
  argv.push_back(nullptr);
  gint status = 0;
  GError* error = nullptr;
  const gboolean ran = g_spawn_sync(nullptr, argv.data(), nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr,
                                    nullptr, nullptr, &status, &error);
  if (!ran) {
    ADD_FAILURE() << "ffmpeg did not start: " << error->message;
    g_error_free(error);
    return;
  }
  ASSERT_TRUE(g_spawn_check_wait_status(status, nullptr)) << "ffmpeg failed for " << file;
}

PlayerUnderTest::PlayerUnderTest(mpv::RenderPath path) {
  mpv::MpvPlayerOptions options;
  options.render_path = path;
  options.audio = false;
  options.log_level = "error";
  options.log = [this](std::string_view level, std::string_view prefix, std::string_view text) {
    // The silent stand-in output complains about its own state when
    // resumed after a seek in pause; a real output does not.
    if (prefix == "ao/null") {
      return;
    }
    errors_.push_back(std::string(level) + " " + std::string(prefix) + ": " + std::string(text));
  };
  player_ = mpv::MpvPlayer::Create(std::move(options));
  if (player_ == nullptr) {
    ADD_FAILURE() << "libmpv did not start";
    return;
  }
  window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_default_size(GTK_WINDOW(window_), 320, 240);
  gtk_container_add(GTK_CONTAINER(window_), player_->VideoWidget());
  gtk_widget_show_all(window_);
  GtkWidget* video = player_->VideoWidget();
  if (!PumpUntil(
          [video] { return gtk_widget_get_mapped(video) && gtk_widget_get_allocated_width(video) > 1; })) {
    ADD_FAILURE() << "the player's window was not shown";
  }
}

PlayerUnderTest::~PlayerUnderTest() {
  player_.reset();
  if (window_ != nullptr) {
    gtk_widget_destroy(window_);
  }
  // What the player and the window left queued runs before the next test.
  PumpUntilIdle();
}

void PlayerUnderTest::DestroyWindow() {
  gtk_widget_destroy(window_);
  window_ = nullptr;
}

bool PlayerUnderTest::WaitForState(PlayerState code, std::chrono::milliseconds limit) {
  return PumpUntil([&] { return player_->State() == code; }, limit);
}

std::uint64_t PlayerUnderTest::Frames() const {
  const auto* renderer = player_->surface().renderer();
  return renderer != nullptr ? renderer->frames() : 0;
}

bool CarriedOut(mpv::MpvPlayer& player) {
  const int marker = player.Volume() == 37 ? 38 : 37;
  player.SetVolume(marker);
  const std::string expected = std::to_string(marker) + ".000000";
  return PumpUntil([&] { return player.PropertyText("volume") == expected; }) && PumpUntilIdle();
}

LoopbackFileServer::LoopbackFileServer(const std::filesystem::path& folder) {
  server_.set_mount_point("/", folder.string());
  server_.set_logger([this](const httplib::Request& request, const httplib::Response& /*response*/) {
    std::lock_guard lock(mutex_);
    paths_.push_back(request.path);
  });
  port_ = server_.bind_to_any_port("127.0.0.1");
  thread_ = std::thread([this] { server_.listen_after_bind(); });
}

LoopbackFileServer::~LoopbackFileServer() {
  server_.stop();
  thread_.join();
}

std::string LoopbackFileServer::Url(const std::string& name) const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/" + name;
}

bool LoopbackFileServer::WasAskedFor(const std::string& path) const {
  std::lock_guard lock(mutex_);
  return std::find(paths_.begin(), paths_.end(), path) != paths_.end();
}

}  // namespace taviro::testing
