#include "util/ansi_chars.h"

namespace taviro {
namespace {

bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }
bool IsDigitByte(unsigned char byte) { return byte >= 0x30 && byte <= 0x39; }
bool IsDoubleByteTrail(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFE);
}

unsigned char ByteAt(std::string_view text, std::size_t pos) { return static_cast<unsigned char>(text[pos]); }

}  // namespace

std::size_t AnsiCharLength(std::string_view text, std::size_t pos) {
  const std::size_t left = text.size() - pos;
  if (left < 2 || !IsLeadByte(ByteAt(text, pos))) {
    return 1;
  }
  const unsigned char second = ByteAt(text, pos + 1);
  if (IsDoubleByteTrail(second)) {
    return 2;
  }
  if (IsDigitByte(second) && left >= 4 && IsLeadByte(ByteAt(text, pos + 2)) &&
      IsDigitByte(ByteAt(text, pos + 3))) {
    return 4;
  }
  return 1;
}

std::string_view CutAnsiText(std::string_view text, std::size_t max_bytes) {
  if (text.size() <= max_bytes) {
    return text;
  }
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t next = end + AnsiCharLength(text, end);
    if (next > max_bytes) {
      break;
    }
    end = next;
  }
  return text.substr(0, end);
}

}  // namespace taviro
