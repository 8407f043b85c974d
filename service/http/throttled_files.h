#pragma once

#include <httplib.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>

namespace taviro::demo {

// Sends a file with byte ranges, each connection at most
// `bytes_per_second` (0: as fast as it goes). `pause` sleeps and returns
// false once the service is stopping.
void SendFile(const std::filesystem::path& file, httplib::Response& response,
              const std::atomic<std::int64_t>& bytes_per_second,
              std::function<bool(std::chrono::milliseconds)> pause);

}  // namespace taviro::demo
