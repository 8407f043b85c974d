#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace taviro {

// A page's call of the window's automation interface,
// window.external.NAME(arguments...), as it crosses from the page: a JSON
// array of strings, the name first.
struct ExternalCall {
  std::string name;
  std::vector<std::string> arguments;
};

// The most a call may carry; the window's only operation takes four short
// texts.
inline constexpr std::size_t kMaxExternalArguments = 8;
inline constexpr std::size_t kMaxExternalArgumentUnits = 4096;

// The call in `message`, when its name is one the window offers ("DangJ")
// and it carries no more than the limits above. The name is read and checked
// before anything else; a message of any other shape is nothing.
std::optional<ExternalCall> ParseExternalCall(std::string_view message);

}  // namespace taviro
