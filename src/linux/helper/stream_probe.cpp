#include "linux/helper/stream_probe.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <string_view>

#include "helper/hls_playlist.h"
#include "linux/helper/guarded_connect.h"
#include "linux/helper/web_transfer.h"

namespace taviro::helper {
namespace {

struct Look {
  const std::atomic<bool>* stop;
  StreamHead head;
  std::string disposition;
  std::string body;
  bool playlist = false;
  bool headers_taken = false;
  CURL* handle;
};

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
    text.remove_suffix(1);
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  return text;
}

// `prefix` in lower case.
bool StartsWithLetters(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(),
                    [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

bool NameIs(std::string_view header, std::string_view name) {
  return header.size() > name.size() && header[name.size()] == ':' && StartsWithLetters(header, name);
}

std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* self) {
  auto* look = static_cast<Look*>(self);
  const std::string_view line(data, size * count);
  // Each response of a redirect chain starts its headers afresh.
  if (line.starts_with("HTTP/") || line.starts_with("ICY ")) {
    look->disposition.clear();
    look->head.icy = line.starts_with("ICY ");
  }
  // icy-name, icy-br, icy-metaint…: only stations send them.
  if (StartsWithLetters(line, "icy-")) look->head.icy = true;
  if (NameIs(line, "content-disposition")) look->disposition = Trim(line.substr(20));
  return size * count;
}

void TakeHeaders(Look& look) {
  look.headers_taken = true;
  char* type = nullptr;
  curl_easy_getinfo(look.handle, CURLINFO_CONTENT_TYPE, &type);
  std::string_view text = type != nullptr ? type : "";
  look.head.content_type = Trim(text.substr(0, text.find(';')));
  curl_off_t length = -1;
  curl_easy_getinfo(look.handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
  if (length >= 0) look.head.length = length;
}

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self) {
  auto* look = static_cast<Look*>(self);
  if (!look->headers_taken) TakeHeaders(*look);
  look->body.append(data, size * count);
  if (look->body.size() >= kSniffBytes && !look->playlist) {
    look->playlist = IsHlsPlaylist(look->head, look->body);
    // Media is known by its first bytes; the rest is the transfer's.
    if (!look->playlist) return 0;
  }
  return look->body.size() > kLongestPlaylist ? 0 : size * count;
}

int OnProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<Look*>(self)->stop->load() ? 1 : 0;
}

struct Fetched {
  Look look;
  std::string final_url;
  CURLcode result = CURLE_OK;
  bool complete = false;
  std::optional<NetEndpoint> peer;
};

Fetched Fetch(const std::string& url, const std::atomic<bool>& stop, const ConnectRule* rule = nullptr) {
  Fetched fetched;
  CurlHandle handle(curl_easy_init());
  if (!handle) {
    fetched.result = CURLE_FAILED_INIT;
    return fetched;
  }
  CURL* curl = handle.get();
  fetched.look.stop = &stop;
  fetched.look.handle = curl;
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  SetWebTransferOptions(curl);
  // Stations still answer as SHOUTcast did; libcurl takes that status line
  // only when told to.
  const std::unique_ptr<curl_slist, SlistDeleter> icy(curl_slist_append(nullptr, "ICY 200 OK"));
  curl_easy_setopt(curl, CURLOPT_HTTP200ALIASES, icy.get());
  ConnectGuard guard{rule};
  if (rule != nullptr) GuardConnections(curl, guard);
  // Playlists often come compressed; their text is what counts.
  curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &OnHeader);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &fetched.look);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &OnBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &fetched.look);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &OnProgress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &fetched.look);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  fetched.result = curl_easy_perform(curl);
  fetched.complete = fetched.result == CURLE_OK;
  if (!fetched.look.headers_taken) TakeHeaders(fetched.look);
  char* effective = nullptr;
  curl_easy_getinfo(curl, CURLINFO_EFFECTIVE_URL, &effective);
  fetched.final_url = effective != nullptr ? effective : url;
  fetched.peer = PeerOf(curl);
  return fetched;
}

bool CertificateError(CURLcode result) {
  return result == CURLE_PEER_FAILED_VERIFICATION || result == CURLE_SSL_CACERT_BADFILE ||
         result == CURLE_SSL_CERTPROBLEM || result == CURLE_SSL_ISSUER_ERROR ||
         result == CURLE_SSL_PINNEDPUBKEYNOTMATCH;
}

// A look that ended early on purpose saw enough; any other end saw nothing.
bool SawEnough(const Fetched& fetched) {
  if (fetched.complete) return true;
  return fetched.result == CURLE_WRITE_ERROR && !fetched.look.playlist && !fetched.look.body.empty();
}

}  // namespace

ProbeResult ProbeStream(const std::string& url, const std::atomic<bool>& stop) {
  ProbeResult result;
  Fetched fetched = Fetch(url, stop);
  result.final_url = fetched.final_url;
  if (!SawEnough(fetched)) {
    result.certificate_refused = CertificateError(fetched.result);
    result.error = curl_easy_strerror(fetched.result);
    if (fetched.look.body.size() > kLongestPlaylist) result.error = "playlist too long";
    return result;
  }
  result.disposition_name = DispositionFileName(fetched.look.disposition);
  result.length = fetched.look.head.length;
  result.shape = ClassifyStream(fetched.look.head, fetched.look.body);
  if (result.shape != StreamShape::kMaster) return result;
  // A master playlist is as live as its variants.
  const std::optional<std::string> variant = FirstVariant(fetched.look.body);
  const std::optional<std::string> address =
      variant ? ResolveHlsAddress(result.final_url, *variant) : std::nullopt;
  if (!address) {
    result.shape = StreamShape::kRefused;
    return result;
  }
  // The variant is the playlist's word: it may lead back inside this
  // machine and its network only to where the playlist came from.
  ConnectRule rule;
  if (fetched.peer) rule.Allow(*fetched.peer);
  const Fetched inner = Fetch(*address, stop, &rule);
  const StreamShape shape =
      SawEnough(inner) ? ClassifyStream(inner.look.head, inner.look.body) : StreamShape::kLive;
  result.shape = shape == StreamShape::kProgramme ? StreamShape::kProgramme
                 : shape == StreamShape::kRefused ? StreamShape::kRefused
                                                  : StreamShape::kLive;
  return result;
}

}  // namespace taviro::helper
