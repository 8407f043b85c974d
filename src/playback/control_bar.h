#pragma once

#include <functional>
#include <string_view>

#include "playback/playback_context.h"
#include "util/translate.h"
#include "window/main_window.h"
#include "window/window_body_mouse.h"

namespace taviro {

class FileDialog;

inline constexpr std::string_view kPausedStatus = N_("已暂停");
inline constexpr std::string_view kStoppedStatus = N_("已停止");

inline constexpr std::string_view kOpenFileTitle = N_("选择播放文件");
inline constexpr std::string_view kOpenFileFilter =
    N_("影音文件|*.rm;*.rmvb;*.wmv;*.mp3;*wma;*mid;*wav;*mpg;*mp4|所有文件|*.*");

// The control bar's buttons (`bo_but` 0..7): 0 play/pause, 1 stop, 2 mute,
// 3 full screen, 4 open a local file, 5 previous episode, 6 side panel,
// 7 next episode. Menus, keys and overlays press them by index.
class ControlBar final : public ControlBarActions {
 public:
  // Jumps to the previous (1) or the next (2) episode of the series playing.
  using StepEpisodeFn = std::function<void(int direction)>;

  ControlBar(PlaybackContext& context, FileDialog& files, StepEpisodeFn step_episode);

  // Runs the button's action: whoever presses it, the pointer's own clicks
  // having passed the window's click guard first.
  void Click(int index) override;
  // A press with any button but the left one makes the pointer's click it
  // ends do nothing.
  void MouseDown(int index, MouseButton button);

 private:
  void PlayOrPause();
  void Stop();
  void ToggleMute();
  void EnterFullScreen();
  void OpenLocalFile();
  void StepEpisode(int index, int direction);
  void ToggleSidePanel();

  void StoreLastPosition();
  void SetStatus(std::string_view text);
  void PaintFace(int index);

  PlaybackContext& context_;
  MainWindow& window_;
  NowPlaying& now_;
  FileDialog& files_;
  StepEpisodeFn step_episode_;
};

}  // namespace taviro
