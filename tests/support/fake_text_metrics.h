#pragma once

#include <string_view>

#include "app/utf8.h"
#include "platform/text_metrics.h"

namespace taviro::testing {

// A fixed-pitch font: 6 pixels per ASCII character, 12 per other character,
// 12 pixels high.
class FakeTextMetrics : public TextMetrics {
 public:
  TextSize MeasureLabel(std::string_view text) override {
    int width = 0;
    for (char32_t c : DecodeUtf8(text)) width += c < 0x80 ? 6 : 12;
    return TextSize{width, 12};
  }
};

}  // namespace taviro::testing
