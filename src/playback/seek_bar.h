#pragma once

#include "window/region_id.h"
#include "window/window_body_mouse.h"
#include "window/window_model.h"

namespace taviro {

struct MainWindow;

// The seek bar under the video: the track `gunt`, its thumb `gunt1`, the
// played part `gunt2` and the downloaded part `huan`. x is relative to the
// region the event came from: pixels on the track and the thumb, while the
// two part labels deliver theirs in twips (15 to a pixel).

// How far the thumb can travel: the track's width less the thumb's.
int SeekTravel(const WindowModel& model);
// Moves the thumb; the played part ends where the thumb starts.
void PlaceSeekThumb(WindowModel& model, int left);
// Where the thumb stands for `position` of `duration` seconds; at the start
// while the duration is not known.
int SeekThumbLeftFor(const WindowModel& model, int position, int duration);

// A left press on the track (with an item loaded) or on one of the parts
// moves the thumb there; other regions and buttons are ignored.
void SeekBarPressed(MainWindow& window, RegionId part, MouseButton button, int x);
// The thumb follows a drag with the left button, within the track.
void SeekThumbDragged(MainWindow& window, int x, bool left_down);
// Releasing any button over the bar seeks to where the thumb stands.
void SeekBarReleased(MainWindow& window, RegionId part);
// The bar set to a position in seconds (by assistive technology), kept
// within the item; nothing while no item with a known length is loaded.
void SeekBarSetTo(MainWindow& window, int seconds);

}  // namespace taviro
