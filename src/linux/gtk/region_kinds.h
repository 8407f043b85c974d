#pragma once

#include <cstdint>

#include "window/region_id.h"

namespace taviro::gtk {

enum class RegionKind {
  kPanel,    // a container that clips its children and may paint a colour
  kPicture,  // painted from a skin tile or an extra picture
  kLabel,    // one line (or a wrapped block) of text
  kHosted,   // a web view or the video area, attached later
};

RegionKind KindOf(RegionId id);

// Converts the model's 0xBBGGRR to 0xRRGGBB.
constexpr std::uint32_t ToRgb(std::uint32_t bgr) {
  return ((bgr & 0xFFU) << 16U) | (bgr & 0xFF00U) | ((bgr >> 16U) & 0xFFU);
}

}  // namespace taviro::gtk
