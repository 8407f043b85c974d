#pragma once

#include <string_view>

#include "window/region_id.h"
#include "window/window_body_mouse.h"
#include "window/window_model.h"

namespace taviro {

struct MainWindow;

inline constexpr std::string_view kVolumeStatusPrefix = "音量：";
// How far an arrow on the focused volume bar moves it, in percent.
inline constexpr int kVolumeKeyStep = 10;

// The volume bar: the track `yin`, its knob `bo_v` and the filled part
// `bo_y`. x is relative to the region: pixels on the track and the knob,
// twips (15 to a pixel) on the filled part's label.

// How far the knob can travel: the track's width less the knob's.
int VolumeTravel(const WindowModel& model);
// Moves the knob; the filled part ends where the knob starts.
void PlaceVolumeKnob(WindowModel& model, int left);

// Sound comes back before any change of volume: a muted player is unmuted
// through the mute button, whose tooltip follows.
void UnmuteFirst(MainWindow& window);
// The status line shows the volume the player reports.
void ShowVolumeStatus(MainWindow& window);

// A left press on the track or on the filled part moves the knob there.
void VolumeBarPressed(MainWindow& window, RegionId part, MouseButton button, int x);
// The focused bar moved by an arrow: `step` percent, kept within 0..100,
// unmuting first as every change of volume does.
void StepVolume(MainWindow& window, int step);
// The bar set to `percent` (by assistive technology), kept within 0..100.
void SetVolumeTo(MainWindow& window, int percent);
// The knob follows a drag with the left button, within the track.
void VolumeKnobDragged(MainWindow& window, int x, bool left_down);

}  // namespace taviro
