#include "linux/gtk/key_mapping.h"

#include <gdk/gdkkeysyms.h>

namespace taviro::gtk {

KeyCode KeyFromGdk(unsigned key_value) {
  switch (key_value) {
    case GDK_KEY_space:
    case GDK_KEY_KP_Space: return KeyCode::kSpace;
    case GDK_KEY_Left:
    case GDK_KEY_KP_Left: return KeyCode::kLeft;
    case GDK_KEY_Up:
    case GDK_KEY_KP_Up: return KeyCode::kUp;
    case GDK_KEY_Right:
    case GDK_KEY_KP_Right: return KeyCode::kRight;
    case GDK_KEY_Down:
    case GDK_KEY_KP_Down: return KeyCode::kDown;
    case GDK_KEY_s:
    case GDK_KEY_S: return KeyCode::kS;
    case GDK_KEY_x:
    case GDK_KEY_X: return KeyCode::kX;
    case GDK_KEY_z:
    case GDK_KEY_Z: return KeyCode::kZ;
    case GDK_KEY_bracketleft: return KeyCode::kBracketLeft;
    case GDK_KEY_bracketright: return KeyCode::kBracketRight;
    default: return KeyCode::kOther;
  }
}

}  // namespace taviro::gtk
