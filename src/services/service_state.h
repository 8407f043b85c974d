#pragma once

#include <string>

namespace taviro {

// What the switch file left for the rest of the run. The two advertisement
// panels' states live in the window model, beside the panels they govern.
struct ServiceState {
  std::string RemoteVersion;        // newest version announced, without line breaks
  std::string ExitPromoFlag = "0";  // "1": the quit routine shows the promotion window
};

}  // namespace taviro
