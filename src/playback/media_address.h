#pragma once

#include <string_view>

namespace taviro {

// Whether an address may be handed to the player or its read-ahead: a web
// address (http, https; loopback included, where the download helper serves)
// or an absolute local path, or the vendor's "qvod://" form that the
// download helper serves. Everything else the player library would also
// take is refused: fd://, fdclose://, av://, lavfi://, memory://, file
// names relative to wherever the program happens to run, and web addresses
// that carry control characters. Pages and the service's replies choose these
// addresses, so they are checked here, before every play and pre-buffer.
bool MayReachPlayer(std::string_view address);

// The same for an address a page or the service chose: no local file
// either. Only the user and the program's own lists name those.
bool MayRemoteChoiceReachPlayer(std::string_view address);

}  // namespace taviro
