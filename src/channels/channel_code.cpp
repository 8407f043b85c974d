#include "channels/channel_code.h"

#include <cstdint>

namespace taviro::channels {

std::uint64_t ChannelCodeBits(std::string_view list_address, std::string_view stream_url) {
  // FNV-1a, 64 bits: stable across builds and machines, unlike std::hash.
  std::uint64_t hash = 14695981039346656037ULL;
  const auto mix = [&hash](std::string_view text) {
    for (const char c : text) {
      hash ^= static_cast<unsigned char>(c);
      hash *= 1099511628211ULL;
    }
  };
  mix(list_address);
  mix(std::string_view("\n", 1));
  mix(stream_url);
  // FNV moves a change of the last bytes only upwards; mixing spreads it
  // over every bit, so lists naming ".../1", ".../2" get unlike codes.
  hash ^= hash >> 33U;
  hash *= 0xff51afd7ed558ccdULL;
  hash ^= hash >> 33U;
  return hash & ((1ULL << 50U) - 1);
}

std::string ChannelCodeText(std::uint64_t bits) {
  constexpr std::string_view kDigits = "abcdefghijklmnopqrstuvwxyz234567";
  std::string code(10, 'a');
  for (char& digit : code) {
    digit = kDigits[bits & 31U];
    bits >>= 5U;
  }
  return code;
}

std::string ChannelCodeFor(std::string_view list_address, std::string_view stream_url) {
  return ChannelCodeText(ChannelCodeBits(list_address, stream_url));
}

}  // namespace taviro::channels
