#pragma once

#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "linux/system/instance_socket_address.h"
#include "ports/instance_channel.h"
#include "util/unique_fd.h"

namespace taviro {

// "taviro-instance-<uid>": one running program per user; with TAVIRO_INSTANCE
// set, "taviro-instance-<uid>-<TAVIRO_INSTANCE>" ("/" written "_").
std::string DefaultInstanceSocketName();

struct InstanceSocketOptions {
  // The socket's folder: "$XDG_RUNTIME_DIR/taviro", made mode 0700, where
  // no other user can bind, squat or hold the name. The socket is the file
  // `name` in it, guarded by the lock file `name`.lock: whoever holds the
  // lock is the instance, and the kernel lets it go when that process dies,
  // so a socket file a crash left behind is simply replaced.
  //
  // Empty (no runtime folder), or a folder that is not this user's alone:
  // `name` in the abstract namespace, shared by every user of the machine.
  // There a name bound by a socket that nobody listens on cannot be told
  // from a squatter; after a few looks the start runs unguarded.
  std::filesystem::path folder = DefaultInstanceFolder();
  std::string name = DefaultInstanceSocketName();
  // How long a later start waits, in all, for the running instance to take
  // its text.
  std::chrono::milliseconds answer_limit{3000};
  // How long the running instance waits for the text of a start that has
  // connected; it blocks the main loop meanwhile.
  std::chrono::milliseconds read_limit{1000};
  // Only starts by this user are listened to, and only an instance of this
  // user is handed a command line.
  uid_t accepted_uid = ::getuid();
};

enum class HandOffResult {
  // No instance was running: this one listens from now on (unless the
  // socket could not be made at all, or in the abstract namespace another
  // user holds the name, or a socket that does not listen; then it runs
  // unguarded).
  kFirstInstance,
  kDelivered,  // the running instance took the text
  // An instance is running but did not take the text in time, or refused it.
  kLost,
};

// The single-instance guard over a Unix stream socket. The first instance
// binds the name and keeps listening; a later start connects and sends a
// 4-byte little-endian length and the text, then waits for a 1-byte answer.
class UnixSocketInstance final : public InstanceChannel {
 public:
  // Longer texts are refused by the listening side (and lost).
  static constexpr std::size_t kMaxMessageBytes = 64 * 1024;

  UnixSocketInstance() : UnixSocketInstance(InstanceSocketOptions{}) {}
  explicit UnixSocketInstance(InstanceSocketOptions options);
  UnixSocketInstance(const UnixSocketInstance&) = delete;
  UnixSocketInstance& operator=(const UnixSocketInstance&) = delete;
  ~UnixSocketInstance() override;

  // True whenever another instance runs, even when it did not take the
  // text: the command line is then lost, but a second window must not
  // open.
  bool HandToRunningInstance(const std::string& command_line) override;
  // The same with the outcome told apart. Once this instance listens, every
  // further call reports kFirstInstance.
  HandOffResult Offer(const std::string& command_line);

  // The listening socket for the main loop to watch for readability; -1
  // unless this is the first instance.
  int ListeningFd() const { return listener_.get(); }
  struct Accepted {
    // The text of a waiting start. Nothing when no start is waiting, or
    // when its text was refused (another user, too long, cut short or too
    // slow).
    std::optional<std::string> text;
    // The listener could not take a start that waits (out of descriptors,
    // or the socket is gone): it stays readable until that changes.
    bool failed = false;
  };
  // Takes one waiting start's text and answers it.
  Accepted Accept();

  // After a failure: true when the listener still works, or when a broken
  // one could be replaced by a new socket under the same name.
  bool Relisten();

 private:
  HandOffResult OfferAtFile(const InstanceSocketAddress& address, const std::string& command_line);
  HandOffResult OfferAtAbstractName(const InstanceSocketAddress& address, const std::string& command_line);
  // Where this instance listens or would listen; nothing when neither form
  // of the name fits.
  std::optional<InstanceSocketAddress> ResolveAddress() const;
  void RememberListener();
  bool ListenerIsOurs() const;

  InstanceSocketOptions options_;
  std::optional<InstanceSocketAddress> address_;
  // Held for as long as this is the instance (file form only).
  UniqueFd lock_;
  UniqueFd listener_;
  // What the listener was when it was made, to know it again by.
  dev_t listener_device_ = 0;
  ino_t listener_inode_ = 0;
};

}  // namespace taviro
