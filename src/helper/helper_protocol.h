#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace taviro {

// What the program asks of the download helper, one request per connection
// on the helper's control socket: a line of tab-separated fields, answered
// by one line that begins with "ok" or "error".
enum class HelperVerb {
  kPlay,       // download the address and serve it: answers its loopback address
  kPrebuffer,  // download the address without serving it yet
  kStatus,     // answers the downloaded thousandths and the rate in KB/s
  kQuit,       // save what is there and end
};

struct HelperRequest {
  HelperVerb verb = HelperVerb::kStatus;
  std::string address;
  // Where "qvod://" links are resolved (the service base URL, ending "/").
  std::string service_base;
  // What the catalogue calls the item ("title episode"), to save a programme
  // under; empty when unknown. Sent only when known, so a line without it
  // reads as before.
  std::string title{};
};

// Why an item cannot be played, as far as the helper knows.
enum class HelperProblem {
  kNone,
  kCertificate,  // its server's certificate is not trusted
  kRefused,      // it names what the player may not open
  kUnreachable,
};

struct HelperStatus {
  int thousandths = 0;  // 0..1000
  int rate_kb = 0;      // KB per second, recent
  bool live = false;    // it has no end: nothing is saved
  HelperProblem problem = HelperProblem::kNone;
};

// Nothing when a field holds a tab or a line end, which the line format
// cannot carry.
std::optional<std::string> FormatHelperRequest(const HelperRequest& request);
std::optional<HelperRequest> ParseHelperRequest(std::string_view line);

std::string FormatOkReply(std::string_view value);
std::string FormatStatusReply(const HelperStatus& status);
std::string FormatErrorReply(std::string_view reason);
// The value of an "ok" reply; nothing for an error or a garbled reply.
std::optional<std::string> OkReplyValue(std::string_view reply);
// Words after the two numbers say what else is known; a reply without them
// (an older helper's) reads as a file with no problem.
std::optional<HelperStatus> ParseStatusReply(std::string_view reply);

// The abstract socket name of the helper installed in `folder` for the user
// `uid`: each installation has its own helper, and only its user's.
std::string HelperSocketName(std::uint32_t uid, std::string_view folder);

}  // namespace taviro
