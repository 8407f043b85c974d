#pragma once

#include <string_view>

namespace taviro {

// Whether the page in a view's main frame may use the program's private
// links and window calls: the service's own pages (under its base address)
// and the program's local pages. An advertiser's page that took the main
// frame by a click may not. `page_address` is where the page was loaded
// from: the address a page shows can be rewritten by its own script.
bool IsTrustedPage(std::string_view page_address, std::string_view service_base);

// Whether `address` lies under the service's base address: the same scheme
// and authority (in any case) and a path under the base's folder.
bool IsServiceAddress(std::string_view address, std::string_view service_base);

}  // namespace taviro
