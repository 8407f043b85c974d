#include "linux/helper/hls_fetch.h"

#include <curl/curl.h>

extern "C" {
#include <libavutil/aes.h>
#include <libavutil/mem.h>
}

#include <algorithm>
#include <memory>

#include "linux/helper/guarded_connect.h"
#include "linux/helper/web_transfer.h"

namespace taviro::helper {
namespace {

constexpr int kAesBlock = 16;

struct AesDeleter {
  void operator()(AVAES* aes) const { av_free(aes); }
};

// A server that ignores Range sends everything before the range too: what
// lies before it is dropped as it arrives, and what the server may send in
// all is the fetch's limit, so that neither memory nor time is the
// server's to decide.
struct Transfer {
  CURL* curl;
  std::string* body;
  std::size_t limit;  // kept
  std::int64_t most_sent;
  const std::function<bool()>* stopped;
  std::optional<HlsByteRange> range;
  // Whether the server answers with the range alone; asked at the first bytes.
  std::optional<bool> partial;
  std::int64_t sent = 0;
  bool cut = false;
  bool too_large = false;

  std::size_t Take(std::string_view bytes) {
    if (!partial) {
      long status = 0;
      curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
      partial = status == 206;
    }
    const std::int64_t before = sent;
    sent += static_cast<std::int64_t>(bytes.size());
    if (sent > most_sent) return Refuse();
    if (range && !*partial) {
      // Only what falls inside [offset, offset + length) is kept.
      const std::int64_t skip = std::clamp<std::int64_t>(range->offset - before, 0, std::ssize(bytes));
      bytes.remove_prefix(static_cast<std::size_t>(skip));
    }
    const std::size_t room = limit - body->size();
    if (bytes.size() > room) {
      if (!range) return Refuse();
      body->append(bytes.substr(0, room));
      cut = true;
      return 0;
    }
    body->append(bytes);
    return static_cast<std::size_t>(sent - before);
  }
  std::size_t Refuse() {
    too_large = true;
    return 0;
  }

  static std::size_t Body(char* data, std::size_t size, std::size_t count, void* self) {
    return static_cast<Transfer*>(self)->Take(std::string_view(data, size * count));
  }
  static int Progress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* transfer = static_cast<Transfer*>(self);
    return (*transfer->stopped)() ? 1 : 0;
  }
};

}  // namespace

FetchedBytes FetchToMemory(const std::string& url, const std::optional<HlsByteRange>& range,
                           std::size_t limit, const std::function<bool()>& stopped, const ConnectRule* rule) {
  FetchedBytes fetched;
  CurlHandle handle(curl_easy_init());
  if (!handle) return fetched;
  if (range && (range->length <= 0 || static_cast<std::size_t>(range->length) > limit)) {
    fetched.outcome = FetchOutcome::kTooLarge;
    return fetched;
  }
  CURL* curl = handle.get();
  Transfer transfer{curl,
                    &fetched.body,
                    range ? static_cast<std::size_t>(range->length) : limit,
                    static_cast<std::int64_t>(limit),
                    &stopped,
                    range,
                    std::nullopt};
  std::string range_header;
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  if (range) {
    range_header = std::to_string(range->offset) + "-" + std::to_string(range->offset + range->length - 1);
    curl_easy_setopt(curl, CURLOPT_RANGE, range_header.c_str());
  }
  SetWebTransferOptions(curl);
  ConnectGuard guard{rule};
  if (rule != nullptr) GuardConnections(curl, guard);
  curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Transfer::Body);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &Transfer::Progress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  const CURLcode result = curl_easy_perform(curl);
  long status = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  char* final_url = nullptr;
  curl_easy_getinfo(curl, CURLINFO_EFFECTIVE_URL, &final_url);
  fetched.final_url = final_url ? final_url : url;
  fetched.peer = PeerOf(curl);
  if (stopped()) {
    fetched.outcome = FetchOutcome::kStopped;
  } else if (guard.refused) {
    fetched.outcome = FetchOutcome::kRefused;
  } else if (transfer.too_large) {
    fetched.outcome = FetchOutcome::kTooLarge;
  } else if (status == 404 || status == 410) {
    fetched.outcome = FetchOutcome::kGone;
  } else if (result != CURLE_OK && !(transfer.cut && status == 200)) {
    fetched.error = curl_easy_strerror(result);
  } else if (range && fetched.body.size() != static_cast<std::size_t>(range->length)) {
    fetched.error = status == 206 ? "byte range of the wrong length" : "shorter than its byte range";
  } else {
    fetched.outcome = FetchOutcome::kDone;
  }
  if (fetched.outcome != FetchOutcome::kDone) fetched.body.clear();
  return fetched;
}

std::optional<std::string> DecryptAes128(std::string_view data, std::string_view key, const HlsIv& iv) {
  if (key.size() != kAesBlock || data.empty() || data.size() % kAesBlock != 0) return std::nullopt;
  const std::unique_ptr<AVAES, AesDeleter> aes(av_aes_alloc());
  if (!aes || av_aes_init(aes.get(), reinterpret_cast<const std::uint8_t*>(key.data()), 128, 1) != 0) {
    return std::nullopt;
  }
  std::string plain(data.size(), '\0');
  HlsIv chain = iv;
  av_aes_crypt(aes.get(), reinterpret_cast<std::uint8_t*>(plain.data()),
               reinterpret_cast<const std::uint8_t*>(data.data()), static_cast<int>(data.size() / kAesBlock),
               chain.data(), 1);
  const auto padding = static_cast<unsigned char>(plain.back());
  if (padding == 0 || padding > kAesBlock) return std::nullopt;
  for (std::size_t i = plain.size() - padding; i < plain.size(); ++i) {
    if (static_cast<unsigned char>(plain[i]) != padding) return std::nullopt;
  }
  plain.resize(plain.size() - padding);
  return plain;
}

}  // namespace taviro::helper
