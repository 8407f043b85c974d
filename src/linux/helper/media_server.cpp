#include "linux/helper/media_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <vector>

#include "helper/hls_playlist.h"
#include "helper/media_request.h"
#include "linux/system/deadline_io.h"
#include "linux/system/socket_owner.h"

namespace taviro::helper {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

constexpr milliseconds kSizeWait{30000};
// A player gives up on a read that takes much longer than this; the helper
// answers before, so that the player retries rather than fails.
constexpr milliseconds kBytesWait{30000};
constexpr milliseconds kSendWait{30000};
// A player sends its whole request at once; a client still sending after
// this is holding a connection, not asking.
constexpr milliseconds kHeadWait{5000};
constexpr std::size_t kLongestHead = 8192;
constexpr std::int64_t kChunk = 256 * 1024;

std::string ContentType(const std::string& name) {
  std::string lower = name;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  if (lower.ends_with(".mp4") || lower.ends_with(".m4v")) return "video/mp4";
  if (lower.ends_with(".mkv")) return "video/x-matroska";
  if (lower.ends_with(".webm")) return "video/webm";
  return "application/octet-stream";
}

std::string PercentEncoded(const std::string& name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text;
  for (const char raw : name) {
    const auto c = static_cast<unsigned char>(raw);
    if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') {
      text += raw;
    } else {
      text += '%';
      text += kHex[c >> 4];
      text += kHex[c & 15];
    }
  }
  return text;
}

// The request head, up to its blank line, within the time a player needs.
std::optional<std::string> ReceiveHead(int connection) {
  const SteadyDeadline deadline = Clock::now() + kHeadWait;
  std::string head;
  char buffer[1024];
  while (head.find("\r\n\r\n") == std::string::npos) {
    if (head.size() >= kLongestHead) return std::nullopt;
    const auto left = std::chrono::ceil<milliseconds>(deadline - Clock::now());
    pollfd wait{connection, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&wait, 1, static_cast<int>(left.count())) <= 0) return std::nullopt;
    const ssize_t got = ::recv(connection, buffer, std::min(sizeof buffer, kLongestHead - head.size()), 0);
    if (got <= 0) return std::nullopt;
    head.append(buffer, static_cast<std::size_t>(got));
  }
  return head;
}

bool SendStatus(int connection, const char* status) {
  const std::string text =
      std::string("HTTP/1.1 ") + status + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
  return SendAll(connection, text, Clock::now() + kSendWait);
}

bool SendRedirect(int connection, const std::string& location) {
  // A line end in the address would be a header of its own.
  if (location.find_first_of("\r\n") != std::string::npos) return SendStatus(connection, "502 Bad Gateway");
  const std::string text = "HTTP/1.1 307 Temporary Redirect\r\nLocation: " + location +
                           "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
  return SendAll(connection, text, Clock::now() + kSendWait);
}

// Where a player is sent for what it asked of an item played at its origin:
// the origin itself for the item's own address, and the same place beside
// the origin for an address the player built relative to the item's (a
// DASH reader builds its segments' from the address it was given, not from
// where the redirect led).
std::optional<std::string> OriginAddress(const ItemRoute& route, const MediaRequest& request,
                                         const std::string& own_path) {
  const std::string_view path = std::string_view(request.path).substr(0, request.path.find('?'));
  if (path.empty() || path == own_path) return route.origin;
  if (path.starts_with('/')) return std::nullopt;  // another host's, never the origin's
  return ResolveHlsAddress(route.origin, request.path);
}

bool SendBody(int connection, ItemDownload& item, std::int64_t at, std::int64_t end) {
  std::vector<char> bytes;
  while (at < end) {
    const std::int64_t ready = item.WaitForBytes(at, std::min(end - at, kChunk), kBytesWait);
    if (ready <= 0) return false;
    bytes.resize(static_cast<std::size_t>(ready));
    if (!item.ReadAt(at, bytes.data(), ready)) return false;
    if (!SendAll(connection, std::string_view(bytes.data(), bytes.size()), Clock::now() + kSendWait)) {
      return false;
    }
    at += ready;
  }
  return true;
}

}  // namespace

MediaServer::MediaServer(Terminal& terminal) : terminal_(terminal) {}

MediaServer::~MediaServer() { Stop(); }

int MediaServer::Start() {
  listener_.Reset(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  wake_.Reset(::eventfd(0, EFD_CLOEXEC));
  if (!listener_.valid() || !wake_.valid()) return -1;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  if (::bind(listener_.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_.get(), SOMAXCONN) != 0 ||
      ::getsockname(listener_.get(), reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    return -1;
  }
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { AcceptLoop(); });
  checker_ = std::thread([this] { CheckLoop(); });
  return port_;
}

void MediaServer::Stop() {
  if (!acceptor_.joinable()) return;
  std::unique_lock lock(mutex_);
  stopping_ = true;
  room_.notify_all();
  unchecked_ready_.notify_all();
  lock.unlock();
  const std::uint64_t one = 1;
  // An eventfd write of 8 bytes does not fail here.
  [[maybe_unused]] const ssize_t written = ::write(wake_.get(), &one, sizeof one);
  acceptor_.join();
  checker_.join();
  lock.lock();
  unchecked_.clear();
  // Connections waiting on a client or on bytes end at once.
  for (const int connection : open_) ::shutdown(connection, SHUT_RDWR);
  drained_.wait(lock, [this] { return open_.empty(); });
}

std::string MediaServer::AddressOf(const std::string& token, const std::string& name) const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/item/" + token + "/" + PercentEncoded(name);
}

void MediaServer::AcceptLoop() {
  pollfd waits[2] = {{listener_.get(), POLLIN, 0}, {wake_.get(), POLLIN, 0}};
  for (;;) {
    if (::poll(waits, 2, -1) < 0) continue;
    if (waits[1].revents != 0) return;
    UniqueFd connection(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC));
    if (!connection.valid()) continue;
    std::unique_lock lock(mutex_);
    // A flood faster than the owner lookup waits in the listen queue, in
    // the order it came, with everyone else's connections.
    room_.wait(lock, [this] { return stopping_ || unchecked_.size() < kMaxUnchecked; });
    if (stopping_) return;
    unchecked_.push_back(std::move(connection));
    unchecked_ready_.notify_one();
  }
}

void MediaServer::CheckLoop() {
  const uid_t own = ::getuid();
  for (;;) {
    std::unique_lock lock(mutex_);
    unchecked_ready_.wait(lock, [this] { return stopping_ || !unchecked_.empty(); });
    if (stopping_) return;
    UniqueFd connection = std::move(unchecked_.front());
    unchecked_.pop_front();
    room_.notify_one();
    lock.unlock();
    // Another user's process has nothing to read here, and a client the
    // kernel cannot name is nobody's.
    const std::optional<uid_t> owner = LoopbackClientOwner(connection.get());
    if (owner && *owner == own) Admit(std::move(connection), *owner);
  }
}

void MediaServer::Admit(UniqueFd connection, uid_t owner) {
  std::lock_guard lock(mutex_);
  if (stopping_ || static_cast<int>(open_.size()) >= kMaxConnections || per_client_[owner] >= kMaxPerClient) {
    return;
  }
  ++per_client_[owner];
  const int fd = connection.Release();
  open_.insert(fd);
  std::thread([this, fd, owner] {
    Serve(fd);
    Release(fd, owner);
  }).detach();
}

void MediaServer::Release(int connection, uid_t owner) {
  std::lock_guard lock(mutex_);
  if (--per_client_[owner] == 0) per_client_.erase(owner);
  open_.erase(connection);
  ::close(connection);
  drained_.notify_all();
}

void MediaServer::Serve(int connection) {
  const std::optional<std::string> head = ReceiveHead(connection);
  if (!head) return;
  const std::optional<MediaRequest> request = ParseMediaRequest(*head);
  if (!request) {
    (void)SendStatus(connection, "400 Bad Request");  // the client is not waited for
    return;
  }
  // A page that rebinds a name of its own to 127.0.0.1 sends its own name.
  if (request->host != "127.0.0.1:" + std::to_string(port_)) {
    (void)SendStatus(connection, "403 Forbidden");
    return;
  }
  const std::optional<ServedItem> served = terminal_.FindByToken(request->token);
  if (!served) {
    (void)SendStatus(connection, "404 Not Found");
    return;
  }
  const std::optional<ItemRoute> route = served->item->WaitForRoute(kSizeWait);
  if (!route) {
    (void)SendStatus(connection, "503 Service Unavailable");
    return;
  }
  if (PlayedAtOrigin(route->shape)) {
    const std::optional<std::string> origin = OriginAddress(*route, *request, PercentEncoded(served->name));
    if (origin) {
      (void)SendRedirect(connection, *origin);
    } else {
      (void)SendStatus(connection, "404 Not Found");
    }
    return;
  }
  if (!route->file) {
    (void)SendStatus(connection, "502 Bad Gateway");
    return;
  }
  ItemDownload& file = *route->file;
  const std::optional<std::int64_t> size = file.WaitForSize(kSizeWait);
  if (!size) {
    (void)SendStatus(connection, "503 Service Unavailable");
    return;
  }
  const std::optional<ByteSpan> span = RequestedSpan(*request, *size);
  if (!span) {
    const std::string text = "HTTP/1.1 416 Range Not Satisfiable\r\nContent-Range: bytes */" +
                             std::to_string(*size) + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    (void)SendAll(connection, text, Clock::now() + kSendWait);
    return;
  }
  std::string text = span->partial ? "HTTP/1.1 206 Partial Content\r\n" : "HTTP/1.1 200 OK\r\n";
  text += "Content-Type: " + ContentType(served->name) + "\r\nAccept-Ranges: bytes\r\nConnection: close\r\n";
  text += "Content-Length: " + std::to_string(span->end - span->begin) + "\r\n";
  if (span->partial) {
    text += "Content-Range: bytes " + std::to_string(span->begin) + "-" + std::to_string(span->end - 1) +
            "/" + std::to_string(*size) + "\r\n";
  }
  text += "\r\n";
  if (!SendAll(connection, text, Clock::now() + kSendWait) || request->head_only) return;
  // A player that goes away or a transfer that gives up ends the answer.
  (void)SendBody(connection, file, span->begin, span->end);
}

}  // namespace taviro::helper
