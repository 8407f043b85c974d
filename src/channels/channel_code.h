#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace taviro::channels {

// A channel's code: ten characters of [a-z2-7] from a hash of the list's
// address and the stream's, so it stays the same each time the list is read
// and survives a channel's renaming. Lower case only, because a web engine
// may fold the case of what follows "mitvs://".
std::string ChannelCodeFor(std::string_view list_address, std::string_view stream_url);

// The 50 bits the code is written from, for telling codes apart cheaply.
std::uint64_t ChannelCodeBits(std::string_view list_address, std::string_view stream_url);
std::string ChannelCodeText(std::uint64_t bits);

}  // namespace taviro::channels
