#pragma once

#include <chrono>
#include <cstddef>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace taviro::demo {

// Ways a path can be made to misbehave, so that tests see the program cope
// with a slow, empty, refusing, garbled, failing or vanishing service.
enum class FaultMode {
  kDelay,    // answer normally, but only after a pause
  kEmpty,    // 200 with an empty body
  kOne,      // 200 with the body "1" (the service's refusal)
  kZero,     // 200 with the body "0" (nothing there)
  kGarbage,  // 200 with a script error page instead of data
  kPlain,    // 200 with one line of plain text and no separator of any file
  kHttp500,  // 500 with an error page
  kClose,    // the connection is dropped without a reply
  kDrip,     // the normal reply, a few bytes at a time with a pause between
  kHuge,     // 200 with a body far larger than any real reply
};

// The body a "huge" fault sends; the sender stops early when the client
// goes away.
inline constexpr std::size_t kHugeBodyBytes = std::size_t{64} << 20;
// A "drip" fault sends this many bytes, then pauses.
inline constexpr std::size_t kDripBytes = 16;

// "off" is not a mode: it removes the fault of a path.
std::optional<FaultMode> ParseFaultMode(std::string_view name);

struct Fault {
  FaultMode mode = FaultMode::kDelay;
  std::chrono::milliseconds delay{0};
  // How many more requests it applies to; empty means until reset.
  std::optional<int> remaining;
};

// The faults armed per request path ("/h.asp"); shared by the request
// threads.
class FaultBoard {
 public:
  void Arm(const std::string& path, Fault fault);
  void Disarm(const std::string& path);
  void Reset();
  // The fault for this request, if any; counts the request against it.
  std::optional<Fault> Take(const std::string& path);

 private:
  std::mutex mutex_;
  std::map<std::string, Fault> faults_;
};

}  // namespace taviro::demo
