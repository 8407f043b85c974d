#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "helper/connect_rule.h"
#include "helper/hls_playlist.h"

namespace taviro::helper {

enum class FetchOutcome {
  kDone,
  kStopped,
  kTooLarge,
  kGone,     // 404 or 410: asking again does not help
  kRefused,  // inside this machine or its network, where it may not lead
  kFailed,   // worth another try later
};

struct FetchedBytes {
  FetchOutcome outcome = FetchOutcome::kFailed;
  std::string body;
  // Where the bytes came from after redirects, which relative addresses in
  // them are resolved against.
  std::string final_url;
  // Who sent them, when it is known.
  std::optional<NetEndpoint> peer;
  std::string error;
};

// One resource into memory, at most `limit` bytes of it (of `range` when
// given: a server without ranges sends the whole, and the range is cut
// from it as it passes). A server that sends more than `limit` in all has
// sent too much. `stopped` is asked while the transfer runs. An address a
// playlist named is fetched under `rule` (nothing for the user's own).
FetchedBytes FetchToMemory(const std::string& url, const std::optional<HlsByteRange>& range,
                           std::size_t limit, const std::function<bool()>& stopped,
                           const ConnectRule* rule = nullptr);

// AES-128-CBC with PKCS#7 padding, as HLS encrypts segments; nothing when
// the key is not 16 bytes or the padding is wrong.
std::optional<std::string> DecryptAes128(std::string_view data, std::string_view key, const HlsIv& iv);

}  // namespace taviro::helper
