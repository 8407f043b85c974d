#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace taviro {

// Where the web play page goes when its video ends, under the service's
// base: the program stops that navigation and moves on to the next item.
inline constexpr std::string_view kEndOfPlayPath = "taviro-end/";

// The end-of-play address of the service at `base` (which ends with "/").
std::string EndOfPlayAddress(std::string_view base);

// A base URL the user gave (environment or settings file), made to end with
// "/"; nothing when it is empty or no http(s) address, and then the program
// starts its own service.
std::optional<std::string> GivenServiceBase(std::string_view text);

// The address the program's own service reports on its line:
// "http://127.0.0.1:PORT/KEY/" with a port of 1 to 65535 and a key of 32 to
// 128 lowercase hex digits, optionally followed by one line end. Anything
// else is no address: the service is the program's own child, and what it
// says goes into every view's trust rules.
std::optional<std::string> ParseOwnServiceAddress(std::string_view line);

}  // namespace taviro
