#include "linux/system/unix_helper_channel.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "helper/helper_protocol.h"
#include "linux/system/line_socket.h"

namespace taviro {
namespace {

constexpr std::size_t kLongestReply = 4096;

}  // namespace

std::string HelperSocketNameFor(const std::string& helper_folder) {
  // The program and the helper must name the same folder the same way,
  // whatever links or "." parts either path holds.
  std::error_code error;
  std::string folder = std::filesystem::weakly_canonical(helper_folder, error).string();
  if (error) folder = helper_folder;
  while (folder.size() > 1 && folder.ends_with('/')) folder.pop_back();
  return HelperSocketName(static_cast<std::uint32_t>(::getuid()), folder);
}

std::optional<InstanceSocketAddress> HelperSocketAddressFor(const std::string& helper_folder) {
  const std::string name = HelperSocketNameFor(helper_folder);
  const std::filesystem::path folder = DefaultInstanceFolder();
  if (!folder.empty() && MakePrivateFolder(folder, ::getuid())) {
    if (std::optional<InstanceSocketAddress> file = FileInstanceAddress(folder / name)) return file;
  }
  return AbstractInstanceAddress(name);
}

UniqueFd ConnectTo(const InstanceSocketAddress& address) {
  UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!fd.valid()) return {};
  int result = 0;
  do {
    result = ::connect(fd.get(), address.generic(), address.length);
  } while (result != 0 && errno == EINTR);
  if (result != 0) return {};
  return fd;
}

UnixHelperChannel::UnixHelperChannel(const std::string& helper_folder, std::chrono::milliseconds answer_limit)
    : helper_folder_(helper_folder), answer_limit_(answer_limit) {}

std::optional<std::string> UnixHelperChannel::Ask(const std::string& request_line) {
  // Looked up on every request: the runtime folder may appear after start.
  const std::optional<InstanceSocketAddress> address = HelperSocketAddressFor(helper_folder_);
  if (!address) return std::nullopt;
  UniqueFd connection = ConnectTo(*address);
  if (!connection.valid() || !PeerIsUser(connection.get(), ::getuid())) return std::nullopt;
  const SteadyDeadline deadline = std::chrono::steady_clock::now() + answer_limit_;
  if (!SendAll(connection.get(), request_line, deadline)) return std::nullopt;
  return ReceiveLine(connection.get(), kLongestReply, deadline);
}

}  // namespace taviro
