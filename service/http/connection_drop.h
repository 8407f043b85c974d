#pragma once

namespace taviro::demo {

// Shuts down, without a reply, the accepted connection of this process
// that runs from `local_port` to a peer at `remote_port`. The HTTP library
// keeps its sockets to itself, so the socket is found among the process's
// open descriptors; it is shut down, not closed, and the library closes it
// as usual. Returns whether such a connection was found.
bool DropConnection(int local_port, int remote_port);

}  // namespace taviro::demo
