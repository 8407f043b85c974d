#pragma once

#include <cstdint>
#include <optional>

#include "window/window_model.h"

namespace taviro {

class TextMetrics;

// The window as it is built, before any rule has run: the controls' own
// tooltips, captions, text colours, which labels size themselves, and what
// starts hidden. Sizes are separate (ApplyDesignSizes, window_layout.h).
void ApplyDesignLook(WindowModel& model);

// A label that sizes itself takes the measured size of its caption; any
// other region is left alone. Call it after changing such a caption.
void FitAutoSizeLabel(WindowModel& model, RegionId id, TextMetrics& text);

// Colours the hover rules switch between (0xBBGGRR).
inline constexpr Colour kWhite = 0xFFFFFF;
inline constexpr Colour kHoverRed = 0x80;
inline constexpr Colour kFooterGrey = 0x5A5A5A;

// The regions another widget fills: the video area and the web views.
bool HostsAView(RegionId id);

// Siblings overlap; the view adds them to their panel lowest layer first,
// so each later layer is painted over the earlier ones.
inline constexpr int kStackingLayers = 4;
int StackingLayer(RegionId id);

// The colour a panel paints under its children, 0xRRGGBB as the painter
// takes it; none for a panel that paints nothing of its own.
std::optional<std::uint32_t> PanelBackground(RegionId id);

}  // namespace taviro
