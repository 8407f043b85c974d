#pragma once

#include "playback/playback_context.h"

namespace taviro {

// Asks the service for the episode after (or before) the catalogue item
// playing. The next one is prepared while the current one plays, so it can
// be pre-buffered and started at the end without a new search; a failed
// request is retried by Timer4.
class EpisodeResolver {
 public:
  explicit EpisodeResolver(PlaybackContext& context) : context_(context) {}

  // Leaves the outcome in NowPlaying: NextLink (a play link, or "0" none,
  // "1" refused, "3" retry scheduled) and NextMediaUrl for pre-buffering.
  void ResolveNextEpisode();

  // 1 = the previous episode, anything else the next one: plays it at once
  // through Web1. Silent when there is none or the service fails.
  void StepEpisode(int direction);

  // Timer4: the retry runs on the second tick after a failure.
  void OnTimer4();

 private:
  PlaybackContext& context_;
};

}  // namespace taviro
