#pragma once

#include <sys/types.h>

#include <optional>

#include "helper/socket_diag.h"

namespace taviro::helper {

// The user owning the other end of an accepted loopback TCP connection
// (the client's socket, of either address family), asked of the kernel for
// exactly that connection. Nothing when the kernel names no live socket:
// the caller then knows nothing about the client and must refuse it.
std::optional<uid_t> LoopbackClientOwner(int connection);

// The same, for a connection known by its addresses only (a server library
// that does not show its sockets).
std::optional<uid_t> LoopbackClientOwner(const ClientSocket& socket);

}  // namespace taviro::helper
