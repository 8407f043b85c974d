#pragma once

#include <span>
#include <string>

#include "window/region_id.h"
#include "window/window_model.h"

namespace taviro {

// What a painted control is to someone who cannot see it: a screen reader
// reads these, the keyboard presses and moves them.
enum class ControlRole : std::uint8_t {
  kNone,  // a picture, a panel or a label: nothing to press
  kPushButton,
  kToggleButton,
  kPageTab,
  kSlider,
};

struct ControlDescription {
  ControlRole role = ControlRole::kNone;
  std::string name;
  bool on = false;  // a toggle pressed in, a tab selected
  // Sliders: the value in [0, maximum].
  int value = 0;
  int maximum = 0;
  std::string value_text;  // "01:05 / 20:00", "70%"
  bool operator==(const ControlDescription&) const = default;
};

// What the sliders show, as the player reports it.
struct SliderReadings {
  int position = 0;  // seconds
  int duration = 0;  // seconds
  int volume = 0;    // percent
};

// Fixed for the life of the window.
ControlRole RoleOf(RegionId id);

// The control as the model has it now; a region that is no control is
// described with kNone and no name.
ControlDescription DescribeControl(const WindowModel& model, RegionId id, const SliderReadings& readings);

// Where the focus goes on Tab: the title bar, the tabs, the page shown, the
// control bar, then the side panels. Web views are listed where they stand,
// as their pages take the focus on to their own links.
std::span<const RegionId> ReadingOrder();

}  // namespace taviro
