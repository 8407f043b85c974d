#pragma once

#include <chrono>
#include <cstddef>
#include <string_view>

namespace taviro {

using SteadyDeadline = std::chrono::steady_clock::time_point;

// Whole-buffer transfers on a socket that give up at a deadline instead of
// blocking for as long as the other side likes. A peer that goes away makes
// them fail, never raises SIGPIPE.

// False when not every byte could be sent in time.
bool SendAll(int fd, std::string_view bytes, SteadyDeadline deadline);

// False when the peer closed, failed or was too slow before `size` bytes
// came.
bool ReceiveExactly(int fd, char* out, std::size_t size, SteadyDeadline deadline);

}  // namespace taviro
