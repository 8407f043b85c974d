#include "linux/system/curl_http_client.h"

#include <curl/curl.h>

#include <memory>
#include <new>
#include <utility>

namespace taviro {
namespace {

struct CurlEasyDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using CurlEasy = std::unique_ptr<CURL, CurlEasyDeleter>;

constexpr long kMaxRedirects = 10;
constexpr long kFirstErrorStatus = 400;

struct Reply {
  std::string body;
  std::size_t limit = 0;
};

// Taking less than offered makes curl end the transfer with a write error,
// which is the same failure as no reply. No exception may leave the
// callback: it would cross curl's C frames.
std::size_t AppendBody(char* data, std::size_t size, std::size_t count, void* target) {
  auto& reply = *static_cast<Reply*>(target);
  const std::size_t bytes = size * count;
  if (bytes > reply.limit - reply.body.size()) {
    return 0;
  }
  try {
    reply.body.append(data, bytes);
  } catch (const std::bad_alloc&) {
    return 0;
  }
  return bytes;
}

bool Configure(CURL* handle, const std::string& url, Reply& reply,
               const CurlHttpClient::TimeOuts& time_outs) {
  // Every option is needed: a request that could not be bounded in time or
  // limited to the web's protocols is not made at all.
  return curl_easy_setopt(handle, CURLOPT_URL, url.c_str()) == CURLE_OK &&
         curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK &&
         curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https") == CURLE_OK &&
         curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK &&
         curl_easy_setopt(handle, CURLOPT_MAXREDIRS, kMaxRedirects) == CURLE_OK &&
         curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(time_outs.connect.count())) ==
             CURLE_OK &&
         curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, static_cast<long>(time_outs.total.count())) ==
             CURLE_OK &&
         // Time-outs without SIGALRM, which would reach the toolkit's threads.
         curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L) == CURLE_OK &&
         curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, AppendBody) == CURLE_OK &&
         curl_easy_setopt(handle, CURLOPT_WRITEDATA, &reply) == CURLE_OK &&
         // A declared length beyond the limit is refused before any byte.
         curl_easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(reply.limit)) ==
             CURLE_OK;
}

}  // namespace

CurlHttpClient::CurlHttpClient(TimeOuts time_outs, std::size_t max_reply_bytes)
    : time_outs_(time_outs), max_reply_bytes_(max_reply_bytes) {
  curl_global_init(CURL_GLOBAL_DEFAULT);
}

CurlHttpClient::~CurlHttpClient() { curl_global_cleanup(); }

std::string CurlHttpClient::Get(const std::string& url) {
  const CurlEasy handle(curl_easy_init());
  if (!handle) return {};
  Reply reply;
  reply.limit = max_reply_bytes_;
  if (!Configure(handle.get(), url, reply, time_outs_)) return {};
  if (curl_easy_perform(handle.get()) != CURLE_OK) return {};
  long status = 0;
  if (curl_easy_getinfo(handle.get(), CURLINFO_RESPONSE_CODE, &status) != CURLE_OK) return {};
  if (status >= kFirstErrorStatus) return {};
  return std::move(reply.body);
}

}  // namespace taviro
