// The helper's control lines and replies: what parses formats back to the
// same request, and replies name only what their form allows.
#include <cstdint>
#include <string>

#include "helper/helper_protocol.h"
#include "property.h"

namespace {

using taviro::fuzz::Check;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);
  if (const std::optional<taviro::HelperRequest> request = taviro::ParseHelperRequest(line)) {
    const std::optional<std::string> again = taviro::FormatHelperRequest(*request);
    Check(again.has_value(), "a parsed request can be sent", line);
    const std::optional<taviro::HelperRequest> back = taviro::ParseHelperRequest(*again);
    Check(back && back->verb == request->verb && back->address == request->address &&
              back->service_base == request->service_base,
          "a request survives its own line", line);
  }
  if (const std::optional<taviro::HelperStatus> status = taviro::ParseStatusReply(line)) {
    Check(status->thousandths >= 0 && status->thousandths <= 1000 && status->rate_kb >= 0,
          "a status stays in range", line);
    Check(taviro::ParseStatusReply(taviro::FormatStatusReply(*status)).has_value(), "a status survives",
          line);
  }
  const std::string error = taviro::FormatErrorReply(line);
  Check(!taviro::OkReplyValue(error) && error.find('\n') == error.size() - 1,
        "an error is one line, never ok", line);
  // Whatever the folder, the socket name fits a socket address (107 bytes).
  const std::uint32_t uid =
      size >= 4 ? static_cast<std::uint32_t>(data[0] | data[1] << 8 | data[2] << 16) : 0;
  Check(taviro::HelperSocketName(uid, line).size() <= 107, "a socket name fits", line);
  if (const std::optional<std::string> value = taviro::OkReplyValue(line)) {
    Check(value->find('\n') == std::string::npos, "a reply value holds no line end", line);
  }
  return 0;
}
