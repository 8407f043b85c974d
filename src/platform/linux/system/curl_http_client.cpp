#include "platform/linux/system/curl_http_client.h"

#include <curl/curl.h>

#include <memory>

namespace taviro {
namespace {

struct CurlEasyDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using CurlEasy = std::unique_ptr<CURL, CurlEasyDeleter>;

constexpr long kMaxRedirects = 10;
constexpr long kFirstErrorStatus = 400;

std::size_t AppendBody(char* data, std::size_t size, std::size_t count, void* body) {
  static_cast<std::string*>(body)->append(data, size * count);
  return size * count;
}

bool Configure(CURL* handle, const std::string& url, std::string& body,
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
         curl_easy_setopt(handle, CURLOPT_WRITEDATA, &body) == CURLE_OK;
}

}  // namespace

CurlHttpClient::CurlHttpClient(TimeOuts time_outs) : time_outs_(time_outs) {
  curl_global_init(CURL_GLOBAL_DEFAULT);
}

CurlHttpClient::~CurlHttpClient() { curl_global_cleanup(); }

std::string CurlHttpClient::Get(const std::string& url) {
  const CurlEasy handle(curl_easy_init());
  if (!handle) return {};
  std::string body;
  if (!Configure(handle.get(), url, body, time_outs_)) return {};
  if (curl_easy_perform(handle.get()) != CURLE_OK) return {};
  long status = 0;
  if (curl_easy_getinfo(handle.get(), CURLINFO_RESPONSE_CODE, &status) != CURLE_OK) return {};
  if (status >= kFirstErrorStatus) return {};
  return body;
}

}  // namespace taviro
