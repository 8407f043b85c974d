#include "channels_source/source_fetch.h"

#include <curl/curl.h>

#include <fstream>
#include <memory>

#include "channels/channel_list.h"

namespace taviro::demo {
namespace {

struct CurlFree {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};

struct Sink {
  std::string* bytes;
  std::size_t max_bytes;
};

std::size_t Collect(char* data, std::size_t size, std::size_t count, void* user) {
  auto* sink = static_cast<Sink*>(user);
  const std::size_t length = size * count;
  if (sink->bytes->size() + length > sink->max_bytes) return 0;  // aborts the transfer
  sink->bytes->append(data, length);
  return length;
}

int CheckCancel(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  const auto* cancel = static_cast<const std::atomic<bool>*>(user);
  return cancel != nullptr && cancel->load() ? 1 : 0;
}

std::optional<FetchedBytes> ReadLocal(const std::string& path, std::size_t max_bytes) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  FetchedBytes fetched;
  fetched.bytes.resize(max_bytes + 1);
  file.read(fetched.bytes.data(), static_cast<std::streamsize>(fetched.bytes.size()));
  const auto read = static_cast<std::size_t>(file.gcount());
  if (read > max_bytes) return std::nullopt;
  fetched.bytes.resize(read);
  return fetched;
}

std::optional<FetchedBytes> ReadWeb(const std::string& address, const FetchLimits& limits) {
  std::unique_ptr<CURL, CurlFree> curl(curl_easy_init());
  if (!curl) return std::nullopt;
  FetchedBytes fetched;
  Sink sink{&fetched.bytes, limits.max_bytes};
  CURL* handle = curl.get();
  curl_easy_setopt(handle, CURLOPT_URL, address.c_str());
  curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(handle, CURLOPT_MAXREDIRS, 5L);
  curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.deadline.count() * 1000));
  curl_easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.max_bytes));
  curl_easy_setopt(handle, CURLOPT_ACCEPT_ENCODING, "");
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, Collect);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, &sink);
  curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, CheckCancel);
  curl_easy_setopt(handle, CURLOPT_XFERINFODATA, limits.cancel);
  if (curl_easy_perform(handle) != CURLE_OK) return std::nullopt;
  long status = 0;
  curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
  if (status != 200) return std::nullopt;
  const char* type = nullptr;
  curl_easy_getinfo(handle, CURLINFO_CONTENT_TYPE, &type);
  if (type != nullptr) fetched.content_type = type;
  return fetched;
}

}  // namespace

std::optional<FetchedBytes> FetchSource(const std::string& address, const FetchLimits& limits) {
  if (channels::IsWebAddress(address)) return ReadWeb(address, limits);
  constexpr std::string_view kFileScheme = "file://";
  if (address.starts_with(kFileScheme))
    return ReadLocal(address.substr(kFileScheme.size()), limits.max_bytes);
  return ReadLocal(address, limits.max_bytes);
}

}  // namespace taviro::demo
