#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "linux/system/instance_socket_address.h"
#include "ports/helper_channel.h"
#include "util/unique_fd.h"

namespace taviro {

// The download helper's control socket for this user and installation.
class UnixHelperChannel final : public HelperChannel {
 public:
  // `helper_folder`: the folder of QvodTerminal.exe, with a trailing "/";
  // `files_folder`: the private folder of its files.
  UnixHelperChannel(std::string helper_folder, std::string files_folder,
                    std::chrono::milliseconds answer_limit = std::chrono::milliseconds(2000));
  // Nothing when no helper listens, or when the one that does runs as
  // another user: such an answer would choose what the player plays.
  std::optional<std::string> Ask(const std::string& request_line) override;

 private:
  std::string helper_folder_;
  std::string files_folder_;
  std::chrono::milliseconds answer_limit_;
};

// The socket name of the helper in `helper_folder`, as both sides compute it.
std::string HelperSocketNameFor(const std::string& helper_folder);

// Where that helper listens: a file in this user's private runtime folder,
// which no other user can enter; without such a folder, an abstract name
// that anyone could take first but no one else can know: it carries a
// secret kept in the helper's private `files_folder`, made by whichever of
// the program and the helper comes first. Nothing when the secret can be
// neither read nor made.
std::optional<InstanceSocketAddress> HelperSocketAddressFor(const std::string& helper_folder,
                                                            const std::string& files_folder);

// A connection to `address`; invalid when nobody listens there.
UniqueFd ConnectTo(const InstanceSocketAddress& address);

}  // namespace taviro
