#include "playback/status_poller.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "lists/media_lists.h"
#include "playback/episode_resolver.h"
#include "playback/media_address.h"
#include "playback/player_status_text.h"
#include "playback/status_strip.h"
#include "ports/clock.h"
#include "ports/player_control.h"
#include "ports/web_view.h"
#include "settings/settings.h"
#include "util/format_seconds.h"
#include "util/system_shutdown.h"
#include "util/text_number.h"
#include "util/translate.h"
#include "window/bo_but_buttons.h"
#include "window/chrome_faces.h"
#include "window/chrome_state.h"
#include "window/main_window.h"
#include "window/tray_controller.h"

namespace taviro {
namespace {

using R = RegionId;

// An item counts as ended within this many seconds of its duration.
constexpr int kEndMargin = 2;
// Thousandths downloaded before the next episode is prepared.
constexpr int kPrefetchProgress = 601;
// A stored position beyond what has arrived: start this far before the end
// of what has, once there is enough to be worth it.
constexpr int kResumeBackOff = 50;
constexpr int kResumeMinimum = 200;
constexpr int kHiddenBarLeft = -30;
// Seconds of waiting with nothing arriving before the strip says the
// source does not answer: longer than a brief outage, and well inside the
// 30 s after which the player gives up on a read.
constexpr int kStalledTicks = 15;

bool IsPlayLink(const NextEpisode& next) { return std::holds_alternative<NextEpisodeLink>(next); }

std::string TwoDigits(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }

std::string TimeOfDay(const LocalDateTime& now) {
  return TwoDigits(now.hour) + ":" + TwoDigits(now.minute) + ":" + TwoDigits(now.second);
}

int RoundToInt(double value) { return static_cast<int>(std::lround(value)); }

}  // namespace

StatusPoller::StatusPoller(PlaybackContext& context, EpisodeResolver& resolver, ShutdownBackend& shutdown,
                           Clock& clock)
    : context_(context), resolver_(resolver), shutdown_(shutdown), clock_(clock) {}

void StatusPoller::Tick() {
  PlayerControl& player = context_.window.ports.player;
  const std::string url = player.Url();
  if (url.empty()) {
    ShowIdle();
    return;
  }
  NowPlaying& now = context_.now;
  now.LastPosition = player.Position();
  Poll poll = Read(true);
  if (poll.at_end && !HandleEndReached()) return;
  poll.progress = player.DownloadProgress();
  TriggerNextEpisode(poll.progress);
  ShowPicture(poll);
  ShowTimes(poll);
  ShowBars(poll);
}

void StatusPoller::OnPlayerStateChanged() {
  if (!context_.timers.Timer1.Enabled()) {
    return;
  }
  PlayerControl& player = context_.window.ports.player;
  if (player.Url().empty()) {
    ShowIdle();
    return;
  }
  ShowPicture(Read(false));
}

StatusPoller::Poll StatusPoller::Read(bool regular_tick) {
  PlayerControl& player = context_.window.ports.player;
  Poll poll;
  poll.regular_tick = regular_tick;
  poll.duration = player.Duration();
  poll.position = player.Position();
  // A duration still unknown (0) makes any running position the end, unless
  // the item has none.
  poll.at_end = !player.Live() && poll.duration - kEndMargin < poll.position && poll.position > 0;
  return poll;
}

// The state, the video box or the covers over it, and the status text.
void StatusPoller::ShowPicture(const Poll& poll) {
  PlayerControl& player = context_.window.ports.player;
  NowPlaying& now = context_.now;
  now.DownloadSpeed = static_cast<std::int16_t>(player.TransferRate());
  now.PlayerState = player.State();
  ShowPanels(poll);
  const bool stalled = Stalled(now.PlayerState, now.DownloadSpeed, poll.regular_tick);
  if (now.PlayerState != PlayerState::kPlaying) {
    ShowState(PlayerReading{now.PlayerState, now.DownloadSpeed, player.SecondRate(), poll.position, true,
                            false, player.Untrusted(), stalled, std::string()},
              poll);
  }
}

bool StatusPoller::Stalled(PlayerState state, int speed, bool regular_tick) {
  const bool waiting = state == PlayerState::kConnecting || state == PlayerState::kBuffering;
  if (!waiting || speed > 0) {
    quiet_ticks_ = 0;
  } else if (regular_tick) {
    ++quiet_ticks_;
  }
  return quiet_ticks_ >= kStalledTicks;
}

void StatusPoller::HandleEndOfPlay() {
  WindowModel& model = context_.window.model;
  model[R::bo_ad].visible = true;
  model[R::Qvodx].visible = false;
  SetStatusText(context_.window, N_("播放完毕"));
  context_.timers.Timer2.SetEnabled(false);
  if (context_.window.menu.kaiqi) {
    context_.timers.Timer1.SetEnabled(false);
    // Another session or an inhibitor can make the system say no; the user
    // must not walk away believing it is off.
    if (!ShutDownSystem(shutdown_, 1)) Balloon(kShutdownRefusedBalloon);
    return;
  }
  NowPlaying& now = context_.now;
  now.ResumePosition = 1;
  now.LastPosition = 1;
  WebView& play_page = context_.window.ports.web.View(WebViewRole::kPlayPage);
  if (std::holds_alternative<NextEpisodeRetrying>(now.next_episode)) {
    // The episode list page finds the next entry itself.
    play_page.Navigate(context_.sentinel_url);
  } else if (IsPlayLink(now.next_episode)) {
    context_.timers.Timer1.SetEnabled(false);
    model[R::next_s].visible = true;
    play_page.Navigate(context_.sentinel_url);
  }
}

void StatusPoller::ShowIdle() {
  WindowModel& model = context_.window.model;
  if (model.playing) SetPlayingShown(model, false);
  SetStatusText(context_.window, N_("准备就绪"));
  model[R::huan].rect.left = kHiddenBarLeft;
  model[R::times].caption = TimeOfDay(clock_.Now());
  PlaceTimeLabel(context_.window);
}

bool StatusPoller::HandleEndReached() {
  NowPlaying& now = context_.now;
  // A finished item starts from the beginning next time.
  if (now.ListKey != "0" && now.LastPosition > 0) {
    if (now.item_kind == ItemKind::kCatalogue) {
      context_.lists.UpdateNetworkTaskPosition(ToInteger(now.ListKey), 0);
    } else if (now.item_kind == ItemKind::kLocalFile) {
      context_.lists.UpdateLocalFilePosition(now.ListKey, 0);
    }
  }
  context_.timers.Timer2.SetEnabled(true);
  if (!BalloonsOn()) {
    return false;
  }
  if (context_.window.menu.kaiqi) {
    Balloon(N_("即将播放完毕，正准备自动关机！"));
  } else if (IsPlayLink(now.next_episode)) {
    Balloon(N_("正在准备播放下一集！"));
  }
  return true;
}

void StatusPoller::TriggerNextEpisode(int progress) {
  NowPlaying& now = context_.now;
  if (progress <= kPrefetchProgress || now.prefetch_started ||
      std::holds_alternative<NextMediaRefused>(now.next_media)) {
    return;
  }
  if (std::holds_alternative<NextMediaUnresolved>(now.next_media)) {
    resolver_.ResolveNextEpisode();
    return;
  }
  const std::string url = std::get<std::string>(now.next_media);
  if (!MayRemoteChoiceReachPlayer(url)) {
    now.next_media = NextMediaRefused{};  // never handed to the read-ahead
    return;
  }
  context_.window.ports.player.Prebuffer(url);
  now.prefetch_started = true;
  if (BalloonsOn()) {
    Balloon(N_("开始缓冲下一集！"));
  }
}

void StatusPoller::ShowPanels(const Poll& poll) {
  switch (context_.now.PlayerState) {
    case PlayerState::kIdle:
    case PlayerState::kStopped: ShowStopped(); break;
    case PlayerState::kPlaying: ShowPlaying(poll); break;
    case PlayerState::kPaused:
    case PlayerState::kEnded: ShowHeld(); break;
    // A wait for bytes pauses nothing: the video box shows (its last
    // picture, or black before the first), under no pause panel.
    case PlayerState::kBuffering:
    case PlayerState::kWaiting:
    case PlayerState::kPreparing:
    case PlayerState::kReconnecting:
    case PlayerState::kTorrentDownloading:
    case PlayerState::kConnecting: ShowVideoBox(); break;
    default: break;
  }
}

void StatusPoller::ShowVideoBox() {
  WindowModel& model = context_.window.model;
  if (model[R::bo_ad].visible) {
    model[R::bo_ad].visible = false;
    model[R::Qvodx].visible = true;
  }
}

void StatusPoller::ShowStopped() {
  WindowModel& model = context_.window.model;
  model[R::ad_huan].visible = false;
  if (model.banner_panel == AdPanel::kEnabled) {
    model[R::bo_pad].visible = true;
  }
  if (!model[R::bo_ad].visible) {
    model[R::bo_ad].visible = true;
    model[R::Qvodx].visible = false;
  }
}

void StatusPoller::ShowHeld() {
  WindowModel& model = context_.window.model;
  if (model.pause_panel == AdPanel::kEnabled && !model[R::ad_huan].visible) {
    model[R::ad_huan].visible = true;
    model[R::bo_pad].visible = false;
  }
  if (!model[R::bo_ad].visible) {
    model[R::bo_ad].visible = true;
    model[R::Qvodx].visible = false;
  }
}

void StatusPoller::ShowPlaying(const Poll& poll) {
  WindowModel& model = context_.window.model;
  PlayerControl& player = context_.window.ports.player;
  NowPlaying& now = context_.now;
  int position = poll.position;
  // At the moment play starts the player has not yet told how much of the
  // stream has arrived, so the once-per-item resume waits for a tick.
  if (poll.regular_tick) {
    Resume(poll);
    // Read again: the resume step may just have moved it.
    position = player.Position();
    now.ResumePosition = position;
  }
  ShowVideoBox();
  model[R::next_s].visible = false;
  if (!model.playing) SetPlayingShown(model, true);
  const bool live = player.Live();
  ShowState(PlayerReading{PlayerState::kPlaying, now.DownloadSpeed, player.SecondRate(), position, true, live,
                          false, false, live ? player.StreamTitle() : std::string()},
            poll);
}

void StatusPoller::Resume(const Poll& poll) {
  NowPlaying& now = context_.now;
  if (now.ResumePosition <= 0 || now.resume_done) {
    return;
  }
  PlayerControl& player = context_.window.ports.player;
  if (poll.position < now.ResumePosition) {
    if (now.item_kind == ItemKind::kLocalFile) {
      player.SetPosition(now.ResumePosition);
    } else {
      // A stream cannot seek beyond what has arrived.
      const int available = RoundToInt(poll.progress / 1000.0 * poll.duration);
      if (available > now.ResumePosition) {
        player.SetPosition(now.ResumePosition);
      } else if (available > kResumeMinimum) {
        player.SetPosition(available - kResumeBackOff);
      }
    }
  }
  now.resume_done = true;
}

void StatusPoller::ShowState(const PlayerReading& reading, const Poll& poll) {
  WindowModel& model = context_.window.model;
  switch (reading.state) {
    case PlayerState::kIdle: context_.window.ports.player.SetFullScreen(false); [[fallthrough]];
    case PlayerState::kStopped:
    case PlayerState::kPaused:
    // At the end play has stopped running: the button offers to play, as
    // after a pause, not to pause.
    case PlayerState::kEnded:
      // Repainted only when it changes, so that a hovered button keeps its look.
      if (model.playing) SetPlayingShown(model, false);
      break;
    default: break;
  }
  // At its end the item's word is the end of play's "播放完毕", which the
  // strip keeps while the item stays there.
  if (poll.at_end) return;
  if (const std::optional<std::string> text = PlayerStatusText(reading)) {
    SetStatusText(context_.window, *text);
  }
}

void StatusPoller::ShowTimes(const Poll& poll) {
  context_.window.model[R::times].caption =
      FormatSeconds(poll.position) + " / " + FormatSeconds(poll.duration);
  PlaceTimeLabel(context_.window);
}

void StatusPoller::ShowBars(const Poll& poll) {
  WindowModel& model = context_.window.model;
  const int track = model[R::gunt].rect.width;
  const int travel = track - model[R::gunt1].rect.width;
  const int thumb =
      poll.duration != 0 ? RoundToInt(static_cast<double>(poll.position) / poll.duration * travel) : 0;
  model[R::gunt1].rect.left = thumb;
  model[R::gunt1].tooltip = FormatSeconds(poll.position);
  model[R::gunt2].rect.width = thumb;
  Rect& downloaded = model[R::huan].rect;
  if (poll.progress < 1) {
    downloaded.left = kHiddenBarLeft;
    downloaded.width = 0;
  } else {
    downloaded.left = 0;
    downloaded.width = RoundToInt(track * poll.progress / 1000.0);
  }
}

bool StatusPoller::BalloonsOn() const { return Settings::Load(context_.window.ConfigPath).tray_balloons; }

void StatusPoller::Balloon(std::string_view text) { ShowBalloon(context_.window.ports.tray, text); }

}  // namespace taviro
