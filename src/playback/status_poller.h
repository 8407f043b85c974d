#pragma once

#include "playback/playback_context.h"

namespace taviro {

class Clock;
class EpisodeResolver;
class ShutdownBackend;
struct PlayerReading;

// Shown whatever the balloon setting when the system will not power off.
inline constexpr const char* kShutdownRefusedBalloon = "系统拒绝了自动关机，请手动关机！";

// The player raises no events the window uses, so Timer1 polls it once a
// second and mirrors it into the status strip, the bars and the play/pause
// button. The same poll resumes a stored position, starts preparing the next
// episode and notices the end of an item, which Timer2 handles two seconds
// later: power off when the user asked for it, else hand over to the next
// episode through the play page's end address.
class StatusPoller {
 public:
  StatusPoller(PlaybackContext& context, EpisodeResolver& resolver, ShutdownBackend& shutdown, Clock& clock);

  void Tick();
  void HandleEndOfPlay();
  // The player's state changed between two ticks (it started showing
  // pictures, paused, stopped): the video box and the status follow now
  // rather than up to a second late. Everything else a tick does (the end
  // of play, list positions, balloons, the resume step, the next episode,
  // whose answer comes later) waits for the next tick, so that it runs once per
  // tick and never inside the player's event handling.
  void OnPlayerStateChanged();

 private:
  struct Poll {
    int position = 0;
    int duration = 0;
    int progress = 0;  // thousandths downloaded
    bool regular_tick = true;
    bool at_end = false;
  };

  Poll Read(bool regular_tick);
  void ShowIdle();
  // False when the rest of the tick is to be skipped.
  bool HandleEndReached();
  void TriggerNextEpisode(int progress);
  void ShowPicture(const Poll& poll);
  void ShowPanels(const Poll& poll);
  void ShowPlaying(const Poll& poll);
  void ShowStopped();
  // Paused, or at the end: the still cover and the pause advertisement.
  void ShowHeld();
  void ShowVideoBox();
  void Resume(const Poll& poll);
  void ShowState(const PlayerReading& reading, const Poll& poll);
  // Counts the ticks on which the player waits for bytes that do not come.
  bool Stalled(PlayerState state, int speed, bool regular_tick);
  void ShowTimes(const Poll& poll);
  void ShowBars(const Poll& poll);
  bool BalloonsOn() const;
  void Balloon(std::string_view text);

  PlaybackContext& context_;
  EpisodeResolver& resolver_;
  ShutdownBackend& shutdown_;
  Clock& clock_;
  int quiet_ticks_ = 0;
};

}  // namespace taviro
