#pragma once

#include <sys/types.h>

#include <optional>

namespace taviro::helper {

// The user owning the other end of an accepted loopback TCP connection
// (the client's socket, of either address family), asked of the kernel for
// exactly that connection. Nothing when the kernel names no live socket:
// the caller then knows nothing about the client and must refuse it.
std::optional<uid_t> LoopbackClientOwner(int connection);

}  // namespace taviro::helper
