// What a client sends the helper's loopback server: a request is taken only
// with a whole token, and its span lies inside the item.
#include <cstdint>
#include <string>

#include "helper/media_request.h"
#include "property.h"

namespace {

using taviro::fuzz::Check;

bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string head(reinterpret_cast<const char*>(data), size);
  if (const auto request = taviro::helper::ParseMediaRequest(head)) {
    Check(request->token.size() == 32, "a token is whole", head);
    for (const char c : request->token) Check(IsHex(c), "a token is hexadecimal", head);
    for (const std::int64_t item : {std::int64_t{0}, std::int64_t{1}, std::int64_t{1000}, INT64_MAX}) {
      if (const auto span = taviro::helper::RequestedSpan(*request, item)) {
        Check(span->begin >= 0 && span->begin <= span->end && span->end <= item, "a span lies in the item",
              head);
        Check(span->partial || (span->begin == 0 && span->end == item), "a whole answer is the whole item",
              head);
      }
    }
  }
  return 0;
}
