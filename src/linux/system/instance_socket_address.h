#pragma once

#include <sys/socket.h>
#include <sys/types.h>
#include <sys/un.h>

#include <filesystem>
#include <optional>
#include <string>

namespace taviro {

// Where the single-instance socket is found: a file in a folder only this
// user can enter, or a name in the abstract namespace, which every user of
// the machine shares.
struct InstanceSocketAddress {
  sockaddr_un address{};
  socklen_t length = 0;
  // The socket's file; empty for an abstract name.
  std::filesystem::path file;

  bool abstract() const { return file.empty(); }
  const sockaddr* generic() const { return reinterpret_cast<const sockaddr*>(&address); }
};

// Nothing when the name does not fit.
std::optional<InstanceSocketAddress> AbstractInstanceAddress(const std::string& name);
// Nothing when the path does not fit.
std::optional<InstanceSocketAddress> FileInstanceAddress(const std::filesystem::path& file);

// "$XDG_RUNTIME_DIR/taviro" when the runtime folder is set and absolute;
// empty otherwise.
std::filesystem::path DefaultInstanceFolder();

// Makes `folder` (mode 0700) when it is missing, in a parent of `uid`'s
// that only `uid` may write to. True when it is then a real folder (no link)
// that belongs to `uid` and that no one else may enter; a folder of ours
// that is open to others is closed first.
bool MakePrivateFolder(const std::filesystem::path& folder, uid_t uid);

}  // namespace taviro
