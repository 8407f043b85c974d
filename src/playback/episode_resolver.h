#pragma once

#include <memory>
#include <string>

#include "playback/playback_context.h"

namespace taviro {

// Asks the service for the episode after (or before) the catalogue item
// playing. The next one is prepared while the current one plays, so it can
// be pre-buffered and started at the end without a new search; a failed
// request is retried by Timer4. Answers come later on the main loop; one
// about an item no longer playing is dropped.
class EpisodeResolver {
 public:
  explicit EpisodeResolver(PlaybackContext& context) : context_(context) {}

  // Leaves the outcome, once the service answers, in NowPlaying: the next
  // episode's state and its media address for pre-buffering.
  void ResolveNextEpisode();

  // 1 = the previous episode, anything else the next one: plays it at once
  // through Web1. Silent when there is none or the service fails. The last
  // of several presses before an answer wins.
  void StepEpisode(int direction);

  // Timer4: the retry runs on the second tick after a failure.
  void RetryNextEpisode();

 private:
  enum class After { kNothing, kLetThePollerAskAgain };
  void ResolveNext(After after);
  void ApplyNextEpisode(const std::string& reply);
  void Finish(After after);

  PlaybackContext& context_;
  // The item whose next episode is being asked for (empty: none).
  std::string asking_for_;
  unsigned step_ticket_ = 0;
  // Answers still on their way must not reach a resolver that is gone.
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace taviro
