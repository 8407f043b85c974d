#pragma once

#include <string>

#include "ports/clock.h"
#include "ports/network_adapters.h"

namespace taviro {

// The hardware address of the first adapter that is up, has an IP address
// and is not the loopback, written with "-" between the groups. Empty when
// there is no such adapter or its address is missing or a known placeholder;
// a rejected first adapter is not replaced by a later one.
std::string AdapterIdentity(NetworkAdapterSource& adapters);

// Year, month, day, hour, minute and second of `now` without leading zeros,
// then a number from 100 to 999 drawn from `fraction` in [0, 1).
std::string RandomIdentity(const LocalDateTime& now, double fraction);
// The same with the current local time and a fresh random fraction.
std::string RandomIdentity(Clock& clock);

// The identity stored for a new installation: the adapter form when there is
// one, otherwise the time-and-random form.
std::string MakeInstallationIdentity(NetworkAdapterSource& adapters, Clock& clock);

}  // namespace taviro
