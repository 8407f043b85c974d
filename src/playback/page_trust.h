#pragma once

#include <string_view>

namespace taviro {

// Whether the page in a view's main frame may use the program's private
// links and window calls: the service's own pages (under its base address)
// and the program's local pages. An advertiser's page that took the main
// frame by a click may not.
bool IsTrustedPage(std::string_view page_address, std::string_view service_base);

// Whether an ordinary address carries an address of another scheme inside
// it ("http://x/y?miqvod://..."): such an address acts as that link only
// when it is one of the service's own.
bool CarriesOtherAddress(std::string_view address);

// Whether `address` lies under the service's base address.
bool IsServiceAddress(std::string_view address, std::string_view service_base);

}  // namespace taviro
