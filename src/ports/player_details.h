#pragma once

#include <cstdint>
#include <string>

namespace taviro {

// What the desktop's media controls read of the item playing beyond the
// dispatch table's whole seconds: the clock as the player keeps it and the
// tags the file carries.
struct TrackTags {
  std::string title;   // "" when the file names none
  std::string artist;  // likewise
};

class PlayerDetails {
 public:
  virtual ~PlayerDetails() = default;
  // 0 while nothing is open or the time is unknown.
  virtual std::int64_t PositionUs() = 0;
  virtual std::int64_t DurationUs() = 0;
  virtual TrackTags Tags() = 0;
};

}  // namespace taviro
