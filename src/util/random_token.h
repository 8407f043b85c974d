#pragma once

#include <string>

namespace taviro {

// 128 random bits from the kernel as 32 lowercase hex digits: an address
// holding one cannot be guessed, only given. Empty when the kernel gives
// no random bytes.
std::string RandomToken();

}  // namespace taviro
