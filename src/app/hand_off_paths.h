#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace taviro {

// What one hand-off, drop or OpenUri call may bring at most: a caller on
// the session bus or a drop must not stall the window or flood the local
// list. Paths past the count, and text past the length, are left out.
inline constexpr std::size_t kMostHandOffPaths = 64;
inline constexpr std::size_t kLongestHandOffText = 64 * 1024;

// How a start's arguments travel as one text, on the hand-off socket and
// into start-up: a single argument is the text itself, exactly as before
// several could be sent; several are joined by NUL, which no path holds.
std::string JoinHandOffPaths(const std::vector<std::string>& arguments);
// The paths of such a text; one text without NUL is one path, and an empty
// text none.
std::vector<std::string> SplitHandOffPaths(std::string_view text);

// The local paths of a text/uri-list (a drop from a file manager): file:
// addresses on this machine, percent-decoded. Comments, other schemes and
// other hosts are left out; a malformed escape leaves its address out.
std::vector<std::string> LocalPathsOfUriList(std::string_view uri_list);

}  // namespace taviro
