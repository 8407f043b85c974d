#pragma once

#include <string_view>

namespace taviro {

struct TextSize {
  int width = 0;
  int height = 0;
};

// Size of a one-line label in the window's UI font, for labels that size
// themselves to their caption.
class TextMetrics {
 public:
  virtual ~TextMetrics() = default;
  virtual TextSize MeasureLabel(std::string_view text) = 0;
};

}  // namespace taviro
