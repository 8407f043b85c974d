#include "linux/system/unix_socket_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>

#include <array>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <utility>

#include "linux/system/deadline_io.h"

namespace taviro {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr char kTaken = 1;
constexpr std::size_t kHeaderBytes = 4;
// A start that finds the name bound but nobody answering has met an instance
// between bind and listen, or one that is just closing; it looks again a few
// times before it gives up.
constexpr int kRounds = 3;
constexpr milliseconds kPauseBetweenRounds{10};

enum class ListenOutcome { kListening, kNameTaken, kFailed };

// The socket is close-on-exec: a program started later must not keep the
// name alive after this instance has gone. A socket file is only ever bound
// by the holder of the lock, so one that is there already was left by an
// instance that died.
ListenOutcome Listen(const InstanceSocketAddress& address, UniqueFd& listener) {
  UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (!fd.valid()) {
    return ListenOutcome::kFailed;
  }
  if (!address.abstract()) {
    (void)::unlink(address.file.c_str());  // none there is the usual case
  }
  if (::bind(fd.get(), address.generic(), address.length) != 0) {
    return errno == EADDRINUSE ? ListenOutcome::kNameTaken : ListenOutcome::kFailed;
  }
  if (::listen(fd.get(), SOMAXCONN) != 0) {
    return ListenOutcome::kFailed;
  }
  listener = std::move(fd);
  return ListenOutcome::kListening;
}

enum class ConnectOutcome { kConnected, kNobodyListening, kFailed };

ConnectOutcome Connect(const InstanceSocketAddress& address, UniqueFd& connection,
                       Clock::time_point deadline) {
  UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!fd.valid()) {
    return ConnectOutcome::kFailed;
  }
  // A listener whose queue is full makes connect wait; this bounds the wait.
  const auto left = std::chrono::ceil<std::chrono::microseconds>(deadline - Clock::now());
  if (left.count() <= 0) {
    return ConnectOutcome::kFailed;
  }
  timeval limit{};
  limit.tv_sec = static_cast<time_t>(left.count() / 1'000'000);
  limit.tv_usec = static_cast<suseconds_t>(left.count() % 1'000'000);
  ::setsockopt(fd.get(), SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
  int result = 0;
  do {
    result = ::connect(fd.get(), address.generic(), address.length);
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    return errno == ECONNREFUSED || errno == ENOENT ? ConnectOutcome::kNobodyListening
                                                    : ConnectOutcome::kFailed;
  }
  connection = std::move(fd);
  return ConnectOutcome::kConnected;
}

std::array<char, kHeaderBytes> EncodeLength(std::uint32_t length) {
  std::array<char, kHeaderBytes> header{};
  for (std::size_t i = 0; i < kHeaderBytes; ++i) {
    header[i] = static_cast<char>((length >> (8 * i)) & 0xFFU);
  }
  return header;
}

std::uint32_t DecodeLength(const std::array<char, kHeaderBytes>& header) {
  std::uint32_t length = 0;
  for (std::size_t i = 0; i < kHeaderBytes; ++i) {
    length |= static_cast<std::uint32_t>(static_cast<unsigned char>(header[i])) << (8 * i);
  }
  return length;
}

// Sends the text and waits for the answer; true when the instance took it.
bool Exchange(int fd, const std::string& text, Clock::time_point deadline) {
  if (text.size() > UINT32_MAX) {
    return false;
  }
  const auto header = EncodeLength(static_cast<std::uint32_t>(text.size()));
  if (!SendAll(fd, std::string_view(header.data(), header.size()), deadline) ||
      !SendAll(fd, text, deadline)) {
    return false;
  }
  char answer = 0;
  return ReceiveExactly(fd, &answer, 1, deadline) && answer == kTaken;
}

bool FromUser(int fd, uid_t uid) {
  ucred peer{};
  socklen_t size = sizeof peer;
  return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == uid;
}

void Log(const char* text, const std::string& name) {
  if (std::getenv("TAVIRO_DEBUG") != nullptr) {
    std::fprintf(stderr, "taviro: instance name %s %s\n", name.c_str(), text);
  }
}

// The lock file beside the socket, for the lock that says who the instance
// is. Never a link: the folder is ours, but be sure of what is opened.
UniqueFd OpenLock(const std::filesystem::path& socket_file) {
  std::filesystem::path lock = socket_file;
  lock += ".lock";
  return UniqueFd(::open(lock.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
}

bool TakeLock(const UniqueFd& lock) {
  int result = 0;
  do {
    result = ::flock(lock.get(), LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  return result == 0;
}

std::optional<std::string> ReadText(int fd, Clock::time_point deadline) {
  std::array<char, kHeaderBytes> header{};
  if (!ReceiveExactly(fd, header.data(), header.size(), deadline)) {
    return std::nullopt;
  }
  const std::uint32_t length = DecodeLength(header);
  if (length > UnixSocketInstance::kMaxMessageBytes) {
    return std::nullopt;
  }
  std::string text(length, '\0');
  if (!ReceiveExactly(fd, text.data(), text.size(), deadline)) {
    return std::nullopt;
  }
  return text;
}

}  // namespace

std::string DefaultInstanceSocketName() {
  std::string name = "taviro-instance-" + std::to_string(::getuid());
  // Tests and development runs pick a private name, so that they never hand
  // their command line to the user's own running program.
  if (const char* instance = std::getenv("TAVIRO_INSTANCE"); instance != nullptr && *instance != '\0') {
    name += '-';
    for (const char* c = instance; *c != '\0'; ++c) {
      name += *c == '/' ? '_' : *c;  // the name is a file name too
    }
  }
  return name;
}

UnixSocketInstance::UnixSocketInstance(InstanceSocketOptions options) : options_(std::move(options)) {}

UnixSocketInstance::~UnixSocketInstance() {
  if (listener_.valid() && !ListenerIsOurs()) {
    (void)listener_.Release();  // closed behind our back: the number is not ours
  }
  if (listener_.valid() && lock_.valid() && address_ && !address_->abstract()) {
    // Still holding the lock: the file is ours. A crash leaves it for the
    // next instance to replace.
    (void)::unlink(address_->file.c_str());
  }
}

bool UnixSocketInstance::HandToRunningInstance(const std::string& command_line) {
  return Offer(command_line) != HandOffResult::kFirstInstance;
}

std::optional<InstanceSocketAddress> UnixSocketInstance::ResolveAddress() const {
  if (options_.folder.empty()) {
    return AbstractInstanceAddress(options_.name);
  }
  std::optional<InstanceSocketAddress> address = FileInstanceAddress(options_.folder / options_.name);
  if (address && MakePrivateFolder(options_.folder, options_.accepted_uid)) {
    return address;
  }
  Log("has no private folder of this user's; using the abstract namespace", options_.name);
  return AbstractInstanceAddress(options_.name);
}

HandOffResult UnixSocketInstance::Offer(const std::string& command_line) {
  if (listener_.valid()) {
    return HandOffResult::kFirstInstance;
  }
  if (!address_) {
    address_ = ResolveAddress();
  }
  if (!address_) {
    return HandOffResult::kFirstInstance;  // no name fits: run alone
  }
  return address_->abstract() ? OfferAtAbstractName(*address_, command_line)
                              : OfferAtFile(*address_, command_line);
}

HandOffResult UnixSocketInstance::OfferAtFile(const InstanceSocketAddress& address,
                                              const std::string& command_line) {
  UniqueFd lock = OpenLock(address.file);
  if (!lock.valid()) {
    Log("has no lock file; running alone", options_.name);
    return HandOffResult::kFirstInstance;
  }
  const Clock::time_point deadline = Clock::now() + options_.answer_limit;
  for (int round = 0; round < kRounds; ++round) {
    if (round > 0) {
      std::this_thread::sleep_for(kPauseBetweenRounds);
    }
    if (TakeLock(lock)) {
      if (Listen(address, listener_) == ListenOutcome::kListening) {
        lock_ = std::move(lock);
        RememberListener();
      }
      // A socket that cannot be made leaves this instance unguarded.
      return HandOffResult::kFirstInstance;
    }
    UniqueFd connection;
    switch (Connect(address, connection, deadline)) {
      case ConnectOutcome::kConnected:
        // Only this user can reach the folder; the check costs nothing.
        if (!FromUser(connection.get(), options_.accepted_uid)) {
          return HandOffResult::kLost;
        }
        return Exchange(connection.get(), command_line, deadline) ? HandOffResult::kDelivered
                                                                  : HandOffResult::kLost;
      case ConnectOutcome::kFailed: return HandOffResult::kLost;
      case ConnectOutcome::kNobodyListening: break;  // the holder has yet to listen
    }
  }
  // The instance holds the lock but never listens: it hangs, and a second
  // window must not open.
  return HandOffResult::kLost;
}

HandOffResult UnixSocketInstance::OfferAtAbstractName(const InstanceSocketAddress& address,
                                                      const std::string& command_line) {
  const Clock::time_point deadline = Clock::now() + options_.answer_limit;
  for (int round = 0; round < kRounds; ++round) {
    if (round > 0) {
      std::this_thread::sleep_for(kPauseBetweenRounds);
    }
    switch (Listen(address, listener_)) {
      case ListenOutcome::kListening: RememberListener(); return HandOffResult::kFirstInstance;
      case ListenOutcome::kFailed:  // no guard possible: run alone
        return HandOffResult::kFirstInstance;
      case ListenOutcome::kNameTaken: break;
    }
    UniqueFd connection;
    switch (Connect(address, connection, deadline)) {
      case ConnectOutcome::kConnected:
        // The abstract namespace is shared by every user: a name held by
        // another one is no instance of ours, and must not get our text.
        if (!FromUser(connection.get(), options_.accepted_uid)) {
          Log("is held by another user; running alone", options_.name);
          return HandOffResult::kFirstInstance;
        }
        return Exchange(connection.get(), command_line, deadline) ? HandOffResult::kDelivered
                                                                  : HandOffResult::kLost;
      case ConnectOutcome::kFailed: return HandOffResult::kLost;
      case ConnectOutcome::kNobodyListening: break;
    }
  }
  // Bound for longer than an instance takes from bind to listen: whoever
  // holds it (anyone on the machine may) is not listening, and must not
  // keep the program from starting.
  Log("is held by a socket that does not listen; running alone", options_.name);
  return HandOffResult::kFirstInstance;
}

UnixSocketInstance::Accepted UnixSocketInstance::Accept() {
  Accepted result;
  if (!listener_.valid()) {
    return result;
  }
  UniqueFd connection(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC));
  if (!connection.valid()) {
    // Nobody waiting, or a start that gave up or was cut short: the next
    // wake-up tries again. Anything else leaves the start queued.
    result.failed = errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR && errno != ECONNABORTED;
    return result;
  }
  if (!FromUser(connection.get(), options_.accepted_uid)) {
    return result;
  }
  result.text = ReadText(connection.get(), Clock::now() + options_.read_limit);
  if (result.text) {
    // The start may have given up waiting; the text counts all the same.
    SendAll(connection.get(), std::string_view(&kTaken, 1), Clock::now() + options_.read_limit);
  }
  return result;
}

void UnixSocketInstance::RememberListener() {
  struct stat info {};
  if (::fstat(listener_.get(), &info) == 0) {
    listener_device_ = info.st_dev;
    listener_inode_ = info.st_ino;
  }
}

bool UnixSocketInstance::ListenerIsOurs() const {
  struct stat info {};
  return listener_.valid() && ::fstat(listener_.get(), &info) == 0 && info.st_dev == listener_device_ &&
         info.st_ino == listener_inode_;
}

bool UnixSocketInstance::Relisten() {
  const bool ours = ListenerIsOurs();
  int accepting = 0;
  socklen_t size = sizeof accepting;
  if (ours && ::getsockopt(listener_.get(), SOL_SOCKET, SO_ACCEPTCONN, &accepting, &size) == 0 &&
      accepting != 0) {
    return true;
  }
  if (!ours) {
    // Something closed our socket and the number may name another file by
    // now: it is not ours to close.
    (void)listener_.Release();
  }
  listener_.Reset();
  // In the file form only the lock's holder may bind again.
  if (!address_ || (!address_->abstract() && !lock_.valid()) ||
      Listen(*address_, listener_) != ListenOutcome::kListening) {
    return false;
  }
  RememberListener();
  return true;
}

}  // namespace taviro
