#include "util/script_escape.h"

#include <array>

#include "util/utf8.h"

namespace taviro {
namespace {

constexpr std::string_view kHexDigits = "0123456789ABCDEF";

constexpr std::array<bool, 128> MakeUnescapedSet() {
  std::array<bool, 128> set{};
  for (char c = 'A'; c <= 'Z'; ++c) set[static_cast<unsigned char>(c)] = true;
  for (char c = 'a'; c <= 'z'; ++c) set[static_cast<unsigned char>(c)] = true;
  for (char c = '0'; c <= '9'; ++c) set[static_cast<unsigned char>(c)] = true;
  for (char c : std::string_view("@*_+-./")) set[static_cast<unsigned char>(c)] = true;
  return set;
}
constexpr std::array<bool, 128> kUnescaped = MakeUnescapedSet();

bool IsAsciiByte(char c) { return static_cast<unsigned char>(c) < 0x80U; }

// The end of the run of non-ASCII bytes that starts at `begin`.
std::size_t EndOfNonAsciiRun(std::string_view text, std::size_t begin) {
  std::size_t end = begin;
  while (end < text.size() && !IsAsciiByte(text[end])) ++end;
  return end;
}

void AppendEscapedUnit(std::string& out, char16_t unit) {
  if (unit < 0x80 && kUnescaped[unit]) {
    out.push_back(static_cast<char>(unit));
  } else if (unit < 0x100) {
    out.push_back('%');
    out.push_back(kHexDigits[unit >> 4U]);
    out.push_back(kHexDigits[unit & 0xFU]);
  } else {
    out.append("%u");
    out.push_back(kHexDigits[unit >> 12U]);
    out.push_back(kHexDigits[(unit >> 8U) & 0xFU]);
    out.push_back(kHexDigits[(unit >> 4U) & 0xFU]);
    out.push_back(kHexDigits[unit & 0xFU]);
  }
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The value of `count` hex digits at text[at], or -1.
int ParseHex(std::string_view text, std::size_t at, std::size_t count) {
  if (at + count > text.size()) return -1;
  int value = 0;
  for (std::size_t k = 0; k < count; ++k) {
    const int digit = HexValue(text[at + k]);
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Collects UTF-16 code units as UTF-8, joining surrogate pairs that arrive
// one unit at a time and turning unpaired ones into U+FFFD.
class Utf16Sink {
 public:
  explicit Utf16Sink(std::string& out) : out_(out) {}

  void Unit(char16_t unit) {
    if (pending_high_ != 0) {
      if (IsLowSurrogate(unit)) {
        AppendUtf8(out_, 0x10000 + ((static_cast<char32_t>(pending_high_) - 0xD800) << 10U) +
                             (static_cast<char32_t>(unit) - 0xDC00));
        pending_high_ = 0;
        return;
      }
      Flush();
    }
    if (IsHighSurrogate(unit)) {
      pending_high_ = unit;
    } else {
      AppendUtf8(out_, unit);  // a lone low surrogate comes out as U+FFFD
    }
  }

  void Ascii(char c) {
    Flush();
    out_.push_back(c);
  }

  void Flush() {
    if (pending_high_ != 0) {
      AppendUtf8(out_, kReplacementCharacter);
      pending_high_ = 0;
    }
  }

 private:
  std::string& out_;
  char16_t pending_high_ = 0;
};

// The code unit of a %uXXXX or %XX form at text[at] (a "%"), with the
// form's length; nothing when no valid form starts there.
bool ParseEscapeForm(std::string_view text, std::size_t at, char16_t& unit, std::size_t& length) {
  if (at + 1 < text.size() && text[at + 1] == 'u') {
    const int value = ParseHex(text, at + 2, 4);
    if (value >= 0) {
      unit = static_cast<char16_t>(value);
      length = 6;
      return true;
    }
  }
  const int value = ParseHex(text, at + 1, 2);
  if (value >= 0) {
    unit = static_cast<char16_t>(value);
    length = 3;
    return true;
  }
  return false;
}

}  // namespace

// Both routines copy ASCII byte by byte and go through UTF-16 only for the
// (rare) runs of other characters, so escaped catalogue text costs one pass.
std::string ScriptEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 3);  // every UTF-8 byte becomes at most 3 characters
  for (std::size_t i = 0; i < text.size();) {
    if (IsAsciiByte(text[i])) {
      AppendEscapedUnit(out, static_cast<char16_t>(text[i]));
      ++i;
      continue;
    }
    const std::size_t end = EndOfNonAsciiRun(text, i);
    for (char16_t unit : Utf8ToUtf16(text.substr(i, end - i))) {
      AppendEscapedUnit(out, unit);
    }
    i = end;
  }
  return out;
}

std::string ScriptUnescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());  // no form decodes to more bytes than it takes
  Utf16Sink sink(out);
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (c == '%') {
      char16_t unit = 0;
      std::size_t length = 0;
      if (ParseEscapeForm(text, i, unit, length)) {
        sink.Unit(unit);
        i += length;
        continue;
      }
    }
    if (IsAsciiByte(c)) {
      sink.Ascii(c);
      ++i;
      continue;
    }
    const std::size_t end = EndOfNonAsciiRun(text, i);
    for (char16_t unit : Utf8ToUtf16(text.substr(i, end - i))) {
      sink.Unit(unit);
    }
    i = end;
  }
  sink.Flush();
  return out;
}

}  // namespace taviro
