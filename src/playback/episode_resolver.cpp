#include "playback/episode_resolver.h"

#include <functional>
#include <string>

#include "playback/catalogue_links.h"
#include "playback/episode_reply.h"
#include "playback/item_key.h"
#include "playback/media_address.h"
#include "ports/web_view.h"
#include "settings/settings.h"
#include "util/script_escape.h"
#include "window/main_window.h"
#include "window/tray_controller.h"

namespace taviro {
namespace {

constexpr std::string_view kField = "&&&";
constexpr std::string_view kRetryBalloon = "读取下一集数据出错，稍后将重新读取！";

std::string EpisodePlayLink(std::string_view kind, const EpisodeRecord& record, const ItemKey& key,
                            int episode) {
  const CatalogueLink entry{key.id, std::to_string(key.source), std::to_string(episode), key.title};
  return ResolvedPlayLink(kind, ScriptEscape(record.media_url), entry, record.name);
}

void Fetch(PlaybackContext& context, const ItemKey& key, int episode,
           std::function<void(const std::string& reply)> done) {
  FetchEpisodeReply(context.episodes, context.window.ServiceBaseUrl, std::to_string(key.id),
                    std::to_string(key.source), std::to_string(episode), std::move(done));
}

}  // namespace

void EpisodeResolver::ResolveNextEpisode() { ResolveNext(After::kNothing); }

void EpisodeResolver::ResolveNext(After after) {
  NowPlaying& now = context_.now;
  if (!Settings::Load(context_.window.ConfigPath).buffer_next_episode) {
    now.next_episode = NoNextEpisode{};
    Finish(after);
    return;
  }
  const std::optional<ItemKey> key = ParseItemKey(now.CurrentItemKey);
  if (!key) {
    Finish(after);
    return;
  }
  // The poller asks every second: one question per item is enough.
  if (asking_for_ == now.CurrentItemKey) return;
  asking_for_ = now.CurrentItemKey;
  Fetch(
      context_, *key, key->episode + 1,
      [this, alive = std::weak_ptr<int>(alive_), item = now.CurrentItemKey, after](const std::string& reply) {
        if (alive.expired()) return;
        if (asking_for_ == item) asking_for_.clear();
        // An answer about an item no longer playing prepares nothing.
        if (context_.now.CurrentItemKey != item) return;
        ApplyNextEpisode(reply);
        Finish(after);
      });
}

void EpisodeResolver::ApplyNextEpisode(const std::string& reply) {
  NowPlaying& now = context_.now;
  const std::optional<ItemKey> key = ParseItemKey(now.CurrentItemKey);
  if (!key) return;
  // "1": the service failed; "0": there is no next episode.
  if (reply == "1") {
    now.next_episode = NextEpisodeFailed{};
    now.next_media = NextMediaRefused{};
    return;
  }
  if (reply == "0") {
    now.next_episode = NoNextEpisode{};
    now.next_media = NextMediaUnresolved{};
    return;
  }
  if (const std::optional<EpisodeRecord> record = ParseEpisodeRecord(reply)) {
    if (!MayRemoteChoiceReachPlayer(record->media_url)) {
      // Nothing to pre-buffer or play: as when the service refuses.
      now.next_episode = NextEpisodeFailed{};
      now.next_media = NextMediaRefused{};
      return;
    }
    // The reply's kind is not used: a prepared episode always plays in the
    // player, where it was pre-buffered.
    now.next_media = record->media_url;
    now.prefetch_started = false;
    now.next_episode = NextEpisodeLink{EpisodePlayLink("qvod", *record, *key, key->episode + 1)};
    return;
  }
  // No answer, or an error page: keep the poller from asking again until the
  // timed retry has run.
  now.next_episode = NextEpisodeRetrying{};
  now.next_media = NextMediaUnresolved{};
  now.RetryTicks = 0;
  now.prefetch_started = true;
  ShowBalloon(context_.window.ports.tray, kRetryBalloon);
  context_.timers.Timer4.SetEnabled(true);
}

void EpisodeResolver::Finish(After after) {
  if (after != After::kLetThePollerAskAgain) return;
  // Whatever came of the retry, the poller may try again on its next tick.
  context_.now.prefetch_started = false;
  context_.now.RetryTicks = 0;
}

void EpisodeResolver::StepEpisode(int direction) {
  const int step = direction == 1 ? -1 : 1;
  const std::optional<ItemKey> key = ParseItemKey(context_.now.CurrentItemKey);
  if (!key || (key->episode == 0 && step == -1)) {
    return;
  }
  const int episode = key->episode + step;
  // Pressed again before the service answered: the last press counts.
  const unsigned ticket = ++step_ticket_;
  Fetch(context_, *key, episode,
        [this, alive = std::weak_ptr<int>(alive_), ticket, item = context_.now.CurrentItemKey, key = *key,
         episode](const std::string& reply) {
          if (alive.expired() || ticket != step_ticket_ || context_.now.CurrentItemKey != item) return;
          const std::optional<EpisodeRecord> record = ParseEpisodeRecord(reply);
          if (!record) return;
          // The trailing flag has the play handler reload the episode list
          // with the new entry marked and record it in the task list.
          std::string link = EpisodePlayLink(record->kind, *record, key, episode);
          link += kField;
          link += "0";
          context_.window.ports.web.View(WebViewRole::kCatalogue).Navigate(link);
        });
}

void EpisodeResolver::RetryNextEpisode() {
  NowPlaying& now = context_.now;
  const int previous = now.RetryTicks++;
  if (previous != 1) {
    return;
  }
  context_.timers.Timer4.SetEnabled(false);
  ResolveNext(After::kLetThePollerAskAgain);
}

}  // namespace taviro
