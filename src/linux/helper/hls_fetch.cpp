#include "linux/helper/hls_fetch.h"

#include <curl/curl.h>

extern "C" {
#include <libavutil/aes.h>
#include <libavutil/mem.h>
}

#include <memory>

#include "linux/helper/web_transfer.h"

namespace taviro::helper {
namespace {

constexpr int kAesBlock = 16;

struct AesDeleter {
  void operator()(AVAES* aes) const { av_free(aes); }
};

struct Transfer {
  std::string* body;
  std::size_t limit;
  const std::function<bool()>* stopped;
  // A range's end: a server that sends the whole is cut off there.
  bool cut_at_limit = false;
  bool cut = false;
  bool too_large = false;

  static std::size_t Body(char* data, std::size_t size, std::size_t count, void* self) {
    auto* transfer = static_cast<Transfer*>(self);
    const std::size_t bytes = size * count;
    if (transfer->body->size() + bytes > transfer->limit) {
      if (transfer->cut_at_limit) {
        transfer->body->append(data, transfer->limit - transfer->body->size());
        transfer->cut = true;
      } else {
        transfer->too_large = true;
      }
      return 0;
    }
    transfer->body->append(data, bytes);
    return bytes;
  }
  static int Progress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* transfer = static_cast<Transfer*>(self);
    return (*transfer->stopped)() ? 1 : 0;
  }
};

}  // namespace

FetchedBytes FetchToMemory(const std::string& url, const std::optional<HlsByteRange>& range,
                           std::size_t limit, const std::function<bool()>& stopped) {
  FetchedBytes fetched;
  CurlHandle handle(curl_easy_init());
  if (!handle) return fetched;
  if (range && (range->length <= 0 || static_cast<std::size_t>(range->length) > limit)) {
    fetched.outcome = FetchOutcome::kTooLarge;
    return fetched;
  }
  Transfer transfer{&fetched.body, range ? static_cast<std::size_t>(range->offset + range->length) : limit,
                    &stopped};
  transfer.cut_at_limit = range.has_value();
  std::string range_header;
  CURL* curl = handle.get();
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  if (range) {
    range_header = std::to_string(range->offset) + "-" + std::to_string(range->offset + range->length - 1);
    curl_easy_setopt(curl, CURLOPT_RANGE, range_header.c_str());
  }
  SetWebTransferOptions(curl);
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
  if (stopped()) {
    fetched.outcome = FetchOutcome::kStopped;
  } else if (transfer.too_large) {
    fetched.outcome = FetchOutcome::kTooLarge;
  } else if (status == 404 || status == 410) {
    fetched.outcome = FetchOutcome::kGone;
  } else if (result != CURLE_OK && !(transfer.cut && status == 200)) {
    fetched.error = curl_easy_strerror(result);
  } else if (range && status != 206) {
    // The whole resource came: the range is cut from it.
    if (fetched.body.size() < static_cast<std::size_t>(range->offset + range->length)) {
      fetched.error = "shorter than its byte range";
    } else {
      fetched.body = fetched.body.substr(static_cast<std::size_t>(range->offset),
                                         static_cast<std::size_t>(range->length));
      fetched.outcome = FetchOutcome::kDone;
    }
  } else if (range && fetched.body.size() != static_cast<std::size_t>(range->length)) {
    fetched.error = "byte range of the wrong length";
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
