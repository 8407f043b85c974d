#include "platform/linux/helper/media_server.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace taviro::helper {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kSizeWait{30000};
// A player gives up on a read that takes much longer than this; the helper
// answers before, so that the player retries rather than fails.
constexpr milliseconds kBytesWait{30000};
constexpr std::int64_t kChunk = 256 * 1024;

std::string ContentType(const std::string& name) {
  const std::string lower = [&] {
    std::string text = name;
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
  }();
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

}  // namespace

MediaServer::MediaServer(Terminal& terminal) : terminal_(terminal) {
  server_.Get(R"(/item/([^/]+))", [this](const httplib::Request& request, httplib::Response& response) {
    Serve(request, response);
  });
}

MediaServer::~MediaServer() { Stop(); }

int MediaServer::Start() {
  port_ = server_.bind_to_any_port("127.0.0.1");
  if (port_ < 0) return -1;
  thread_ = std::thread([this] { server_.listen_after_bind(); });
  return port_;
}

void MediaServer::Stop() {
  if (thread_.joinable()) {
    while (!server_.is_running()) std::this_thread::yield();
    server_.stop();
    thread_.join();
  }
}

std::string MediaServer::AddressOf(const std::string& name) const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/item/" + PercentEncoded(name);
}

void MediaServer::Serve(const httplib::Request& request, httplib::Response& response) {
  const std::string name = request.matches[1].str();  // decoded by the server
  const std::shared_ptr<ItemDownload> item = terminal_.Find(name);
  if (!item) {
    response.status = 404;
    return;
  }
  const std::optional<std::int64_t> size = item->WaitForSize(kSizeWait);
  if (!size) {
    response.status = 503;
    return;
  }
  response.set_content_provider(static_cast<std::size_t>(*size), ContentType(name),
                                [item](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                                  const auto at = static_cast<std::int64_t>(offset);
                                  const std::int64_t ready = item->WaitForBytes(
                                      at, std::min<std::int64_t>(static_cast<std::int64_t>(length), kChunk),
                                      kBytesWait);
                                  if (ready <= 0) return false;
                                  std::vector<char> bytes(static_cast<std::size_t>(ready));
                                  if (!item->ReadAt(at, bytes.data(), ready)) return false;
                                  return sink.write(bytes.data(), bytes.size());
                                });
}

}  // namespace taviro::helper
