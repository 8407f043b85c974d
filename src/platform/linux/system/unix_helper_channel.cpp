#include "platform/linux/system/unix_helper_channel.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "platform/linux/system/line_socket.h"
#include "playback/helper_protocol.h"

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

UnixHelperChannel::UnixHelperChannel(const std::string& helper_folder, std::chrono::milliseconds answer_limit)
    : socket_name_(HelperSocketNameFor(helper_folder)), answer_limit_(answer_limit) {}

std::optional<std::string> UnixHelperChannel::Ask(const std::string& request_line) {
  UniqueFd connection = ConnectAbstract(socket_name_);
  if (!connection.valid()) return std::nullopt;
  const SteadyDeadline deadline = std::chrono::steady_clock::now() + answer_limit_;
  if (!SendAll(connection.get(), request_line, deadline)) return std::nullopt;
  return ReceiveLine(connection.get(), kLongestReply, deadline);
}

}  // namespace taviro
