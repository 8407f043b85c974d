#pragma once

#include <chrono>

#include "linux/system/instance_socket_address.h"
#include "util/unique_fd.h"

namespace taviro::helper {

// The helper's listening control socket and, for a socket file, the lock
// beside it that says which helper owns the file.
struct ControlSocket {
  UniqueFd listener;
  UniqueFd lock;
};

// A helper just asked to end (the save folder moved, and the program
// started this one in its place) holds the place a moment longer while it
// saves its files; the place is tried for up to `limit` before this one
// gives way to a helper that stays. No listener when the place stays taken
// or a signal arrives on `signals` meanwhile.
ControlSocket TakeControlSocket(const InstanceSocketAddress& address, int signals,
                                std::chrono::milliseconds limit);

}  // namespace taviro::helper
