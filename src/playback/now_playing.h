#pragma once

#include <string>
#include <variant>

#include "ports/player_state.h"

namespace taviro {

// Which list stores the playing item's position.
enum class ItemKind {
  kNone,
  kCatalogue,  // date.dat
  kLocalFile,  // date_f.dat
};

// What is known of the next episode: nothing prepared, the service failed,
// a retry is scheduled, or the complete "miqvod://" link that plays it.
struct NoNextEpisode {
  bool operator==(const NoNextEpisode&) const = default;
};
struct NextEpisodeFailed {
  bool operator==(const NextEpisodeFailed&) const = default;
};
struct NextEpisodeRetrying {
  bool operator==(const NextEpisodeRetrying&) const = default;
};
struct NextEpisodeLink {
  std::string link;
  bool operator==(const NextEpisodeLink&) const = default;
};
using NextEpisode = std::variant<NoNextEpisode, NextEpisodeFailed, NextEpisodeRetrying, NextEpisodeLink>;

// The next episode's media address for pre-buffering: not asked for yet,
// refused (the service failed, or named what the player must not open; not
// asked for again), or the address.
struct NextMediaUnresolved {
  bool operator==(const NextMediaUnresolved&) const = default;
};
struct NextMediaRefused {
  bool operator==(const NextMediaRefused&) const = default;
};
using NextMedia = std::variant<NextMediaUnresolved, NextMediaRefused, std::string>;

// The item being played and the next-episode state, shared by the link
// router, the list commands, the control bar, the status poller and the
// episode resolver.
struct NowPlaying {
  // id-source-episode-title of the catalogue item playing, the title as it
  // came in the link (escaped); "0" or empty when none.
  std::string CurrentItemKey = "0";
  NextEpisode next_episode;
  NextMedia next_media;
  // Key of the item in its list file: the series id for catalogue items, the
  // path for local files, "0" when no position is stored for it.
  std::string ListKey = "0";
  taviro::ItemKind item_kind = ItemKind::kNone;
  int ResumePosition = 0;
  bool resume_done = false;
  int LastPosition = 0;
  bool prefetch_started = false;
  int RetryTicks = 0;
  taviro::PlayerState PlayerState = PlayerState::kIdle;
  int DownloadSpeed = 0;
  // Folder of the download helper, with a trailing "/"; from setting qvodw.
  std::string TerminalFolder;
};

// A local file started from outside its list (the command line, the open
// button) has no stored position to resume and no next episode: whatever the
// item before it prepared is dropped.
inline void StartLocalItem(NowPlaying& now, const std::string& path) {
  now.resume_done = false;
  now.ResumePosition = 0;
  now.CurrentItemKey = "0";
  now.next_episode = NoNextEpisode{};
  now.next_media = NextMediaUnresolved{};
  now.prefetch_started = false;
  now.ListKey = path;
  now.item_kind = ItemKind::kLocalFile;
}

}  // namespace taviro
