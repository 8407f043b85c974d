#include "http/throttled_files.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <memory>
#include <system_error>
#include <vector>

namespace taviro::demo {
namespace {

constexpr std::int64_t kChunk = 16 * 1024;

std::string ContentType(const std::filesystem::path& file) {
  return file.extension() == ".mp4" ? "video/mp4" : "application/octet-stream";
}

}  // namespace

void SendFile(const std::filesystem::path& file, httplib::Response& response,
              const std::atomic<std::int64_t>& bytes_per_second,
              std::function<bool(std::chrono::milliseconds)> pause) {
  std::error_code error;
  const auto size = std::filesystem::file_size(file, error);
  if (error || !std::filesystem::is_regular_file(file, error)) {
    response.status = 404;
    return;
  }
  auto in = std::make_shared<std::ifstream>(file, std::ios::binary);
  response.set_content_provider(
      static_cast<std::size_t>(size), ContentType(file),
      [in, &bytes_per_second, pause](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
        const std::int64_t limit = bytes_per_second.load();
        const std::int64_t chunk =
            limit > 0 ? std::min(kChunk, std::max<std::int64_t>(limit / 10, 1)) : 256 * kChunk;
        std::vector<char> bytes(
            static_cast<std::size_t>(std::min<std::int64_t>(chunk, static_cast<std::int64_t>(length))));
        in->seekg(static_cast<std::streamoff>(offset));
        if (!in->read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) return false;
        if (limit > 0) {
          const auto wait = std::chrono::milliseconds(static_cast<std::int64_t>(bytes.size()) * 1000 / limit);
          if (!pause(wait)) return false;
        }
        return sink.write(bytes.data(), bytes.size());
      });
}

}  // namespace taviro::demo
