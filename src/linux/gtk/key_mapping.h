#pragma once

#include "playback/key_code.h"

namespace taviro::gtk {

// The player's key for a GDK key value; the keypad's arrows and space count
// as the main ones.
KeyCode KeyFromGdk(unsigned key_value);

}  // namespace taviro::gtk
