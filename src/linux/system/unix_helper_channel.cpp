#include "linux/system/unix_helper_channel.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "helper/helper_protocol.h"
#include "linux/system/line_socket.h"

namespace taviro {
namespace {

constexpr std::size_t kLongestReply = 4096;
constexpr const char* kSecretFile = "helper-socket.secret";
constexpr std::size_t kSecretBytes = 16;

std::optional<std::string> ReadSecret(int folder) {
  const UniqueFd fd(::openat(folder, kSecretFile, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  struct stat info {};
  if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::getuid() ||
      (info.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
    return std::nullopt;
  }
  std::string secret(kSecretBytes * 2, '\0');
  if (::read(fd.get(), secret.data(), secret.size()) != static_cast<ssize_t>(secret.size()))
    return std::nullopt;
  const bool hex = std::all_of(secret.begin(), secret.end(), [](char c) { return std::isxdigit(c) != 0; });
  return hex ? std::optional<std::string>(secret) : std::nullopt;
}

std::optional<std::string> SocketSecret(const std::string& files_folder) {
  const UniqueFd folder(::open(files_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!folder.valid()) return std::nullopt;
  if (std::optional<std::string> secret = ReadSecret(folder.get())) return secret;
  std::array<unsigned char, kSecretBytes> random{};
  if (::getrandom(random.data(), random.size(), 0) != static_cast<ssize_t>(random.size()))
    return std::nullopt;
  std::string secret;
  for (const unsigned char byte : random) {
    char pair[3];
    std::snprintf(pair, sizeof pair, "%02x", byte);
    secret += pair;
  }
  // Written whole under a name of its own and linked to the shared name
  // only when nobody did first: the program and the helper may start at
  // the same moment, and both must end with the same secret.
  const std::string draft = std::string(kSecretFile) + "." + secret;
  {
    const UniqueFd fd(::openat(folder.get(), draft.c_str(),
                               O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, S_IRUSR | S_IWUSR));
    if (!fd.valid()) return std::nullopt;
    const bool written =
        ::write(fd.get(), secret.data(), secret.size()) == static_cast<ssize_t>(secret.size());
    // A name taken meanwhile holds the other side's secret, read below.
    const bool placed =
        written &&
        (::linkat(folder.get(), draft.c_str(), folder.get(), kSecretFile, 0) == 0 || errno == EEXIST);
    (void)::unlinkat(folder.get(), draft.c_str(), 0);  // the shared name holds the secret now
    if (!placed) return std::nullopt;
  }
  return ReadSecret(folder.get());
}

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

std::optional<InstanceSocketAddress> HelperSocketAddressFor(const std::string& helper_folder,
                                                            const std::string& files_folder) {
  const std::string name = HelperSocketNameFor(helper_folder);
  const std::filesystem::path folder = DefaultInstanceFolder();
  if (!folder.empty() && MakePrivateFolder(folder, ::getuid())) {
    if (std::optional<InstanceSocketAddress> file = FileInstanceAddress(folder / name)) return file;
  }
  const std::optional<std::string> secret = SocketSecret(files_folder);
  if (!secret) return std::nullopt;
  return AbstractInstanceAddress(name + "-" + *secret);
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

UnixHelperChannel::UnixHelperChannel(std::string helper_folder, std::string files_folder,
                                     std::chrono::milliseconds answer_limit)
    : helper_folder_(std::move(helper_folder)),
      files_folder_(std::move(files_folder)),
      answer_limit_(answer_limit) {}

std::optional<std::string> UnixHelperChannel::Ask(const std::string& request_line) {
  // Looked up on every request: the runtime folder may appear after start.
  const std::optional<InstanceSocketAddress> address = HelperSocketAddressFor(helper_folder_, files_folder_);
  if (!address) return std::nullopt;
  UniqueFd connection = ConnectTo(*address);
  if (!connection.valid() || !PeerIsUser(connection.get(), ::getuid())) return std::nullopt;
  const SteadyDeadline deadline = std::chrono::steady_clock::now() + answer_limit_;
  if (!SendAll(connection.get(), request_line, deadline)) return std::nullopt;
  return ReceiveLine(connection.get(), kLongestReply, deadline);
}

}  // namespace taviro
