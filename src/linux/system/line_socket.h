#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

#include "linux/system/deadline_io.h"
#include "util/unique_fd.h"

namespace taviro {

// Line exchanges on a Unix socket.

// Whether the peer of a connected socket runs as `uid`.
bool PeerIsUser(int fd, uid_t uid);
// One line, its "\n" included, of at most `limit` bytes; nothing when the
// peer closed or was too slow.
std::optional<std::string> ReceiveLine(int fd, std::size_t limit, SteadyDeadline deadline);

}  // namespace taviro
