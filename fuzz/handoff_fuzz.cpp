// The hand-off message a later start sends to the running instance, read by
// the real listening socket: a well-formed message gives back its text, any
// other is refused, and the text becomes a path without quotes.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "app/command_line_handoff.h"
#include "app/hand_off_paths.h"
#include "linux/system/unix_socket_instance.h"
#include "property.h"

namespace {

using taviro::fuzz::Check;

std::string SocketName() { return "taviro-fuzz-handoff-" + std::to_string(::getpid()); }

taviro::UnixSocketInstance& Listener() {
  static const std::unique_ptr<taviro::UnixSocketInstance> instance = [] {
    taviro::InstanceSocketOptions options;
    options.name = SocketName();
    options.read_limit = std::chrono::milliseconds(500);
    auto made = std::make_unique<taviro::UnixSocketInstance>(options);
    Check(made->Offer("") == taviro::HandOffResult::kFirstInstance, "the fuzz target's socket name is free");
    return made;
  }();
  return *instance;
}

// A start's side of the exchange: connects, sends the bytes, says no more.
int SendAsStart(const std::uint8_t* data, std::size_t size) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string name = SocketName();
  std::memcpy(address.sun_path + 1, name.data(), name.size());
  const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
  Check(::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0, "a start connects");
  for (std::size_t sent = 0; sent < size;) {
    const ssize_t n = ::send(fd, data + sent, size - sent, MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += static_cast<std::size_t>(n);
  }
  ::shutdown(fd, SHUT_WR);
  return fd;
}

std::optional<std::string> Expected(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return std::nullopt;
  std::uint32_t length = 0;
  for (int i = 3; i >= 0; --i) length = (length << 8) | data[i];
  if (length > taviro::UnixSocketInstance::kMaxMessageBytes || size - 4 < length) return std::nullopt;
  return std::string(reinterpret_cast<const char*>(data) + 4, length);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  taviro::UnixSocketInstance& listener = Listener();
  const int start = SendAsStart(data, size);
  const std::optional<std::string> text = listener.Accept().text;
  ::close(start);
  Check(text == Expected(data, size), "a message gives back exactly its text, or is refused",
        std::string(reinterpret_cast<const char*>(data), size));
  if (!text) return 0;

  const std::string path = taviro::CommandLinePath(*text);
  std::string unquoted = *text;
  std::erase(unquoted, '"');
  if (unquoted.ends_with('/')) unquoted.pop_back();
  Check(path == unquoted, "the path is the text without quotes and one trailing /", *text);

  // The text as the working folder and the paths; encoding them again gives
  // the same.
  const taviro::HandOffMessage message = taviro::DecodeHandOff(*text);
  const std::vector<std::string> paths = taviro::SplitHandOffPaths(message.command_line);
  if (text->find('\0') != std::string::npos && !paths.empty()) {
    const taviro::HandOffMessage again = taviro::DecodeHandOff(
        taviro::EncodeHandOff({message.working_folder, taviro::JoinHandOffPaths(paths)}));
    Check(again.working_folder == message.working_folder &&
              taviro::SplitHandOffPaths(again.command_line) == paths,
          "a hand-off encodes again to the same folder and paths", *text);
  }
  // Taken in an absolute folder, a relative path becomes absolute; an
  // address or an absolute path stays as it is.
  const std::string placed = taviro::CommandLinePathIn(*text, "/w");
  Check(placed.empty() || placed.starts_with("/") || placed.find("://") != std::string::npos,
        "a path taken in a folder is absolute", *text);
  Check(taviro::PathIn(path, {}) == path, "no folder leaves the path alone", *text);
  for (const std::string& dropped : taviro::LocalPathsOfUriList(*text)) {
    Check(dropped.starts_with("/"), "a dropped file is an absolute path", *text);
  }
  return 0;
}
