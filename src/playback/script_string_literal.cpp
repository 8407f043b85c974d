#include "playback/script_string_literal.h"

#include <cstdint>

#include "util/utf8.h"

namespace taviro {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// `digits` hex digits at `pos`; nothing when any is missing.
std::optional<std::uint32_t> ReadHex(std::u32string_view text, std::size_t pos, std::size_t digits) {
  if (pos + digits > text.size()) return std::nullopt;
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < digits; ++i) {
    const char32_t c = text[pos + i];
    const int digit = c < 0x80 ? HexValue(static_cast<char>(c)) : -1;
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return value;
}

void AppendCodePoint(std::u16string& out, std::uint32_t code_point) {
  if (code_point < 0x10000) {
    out.push_back(static_cast<char16_t>(code_point));
    return;
  }
  code_point -= 0x10000;
  out.push_back(static_cast<char16_t>(0xD800 + (code_point >> 10)));
  out.push_back(static_cast<char16_t>(0xDC00 + (code_point & 0x3FF)));
}

bool IsLineTerminator(char32_t c) { return c == U'\n' || c == U'\r' || c == 0x2028 || c == 0x2029; }

// The escape after a backslash at `pos`; advances `pos` past it. False for a
// form that is not taken.
bool ReadEscape(std::u32string_view text, std::size_t& pos, std::u16string& out) {
  if (pos >= text.size()) return false;
  const char32_t c = text[pos++];
  switch (c) {
    case U'n': out.push_back(u'\n'); return true;
    case U'r': out.push_back(u'\r'); return true;
    case U't': out.push_back(u'\t'); return true;
    case U'b': out.push_back(u'\b'); return true;
    case U'f': out.push_back(u'\f'); return true;
    case U'v': out.push_back(u'\v'); return true;
    case U'0':
      if (pos < text.size() && text[pos] >= U'0' && text[pos] <= U'9') return false;
      out.push_back(u'\0');
      return true;
    case U'x': {
      const auto value = ReadHex(text, pos, 2);
      if (!value) return false;
      pos += 2;
      out.push_back(static_cast<char16_t>(*value));
      return true;
    }
    case U'u': {
      if (pos < text.size() && text[pos] == U'{') {
        const std::size_t close = text.find(U'}', pos);
        if (close == std::u32string_view::npos || close == pos + 1 || close - pos - 1 > 6) return false;
        const auto value = ReadHex(text, pos + 1, close - pos - 1);
        if (!value || *value > 0x10FFFF) return false;
        pos = close + 1;
        AppendCodePoint(out, *value);
        return true;
      }
      const auto value = ReadHex(text, pos, 4);
      if (!value) return false;
      pos += 4;
      out.push_back(static_cast<char16_t>(*value));
      return true;
    }
    case U'\r':
      if (pos < text.size() && text[pos] == U'\n') ++pos;
      return true;  // a continued line adds nothing
    default:
      if (c >= U'1' && c <= U'9') return false;
      if (IsLineTerminator(c)) return true;
      AppendCodePoint(out, static_cast<std::uint32_t>(c));
      return true;
  }
}

void AppendUnitEscape(std::string& out, char16_t unit) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out.push_back(kHex[(unit >> shift) & 0xF]);
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

std::optional<std::u16string> ReadScriptStringLiteral(std::u32string_view text, std::size_t& length) {
  if (text.empty() || (text[0] != U'\'' && text[0] != U'"')) return std::nullopt;
  const char32_t quote = text[0];
  std::u16string value;
  std::size_t pos = 1;
  while (pos < text.size()) {
    const char32_t c = text[pos++];
    if (c == quote) {
      length = pos;
      return value;
    }
    if (c == U'\n' || c == U'\r') return std::nullopt;
    if (c == U'\\') {
      if (!ReadEscape(text, pos, value)) return std::nullopt;
      continue;
    }
    AppendCodePoint(value, static_cast<std::uint32_t>(c));
  }
  return std::nullopt;  // never closed
}

std::string ScriptSafeJsonLiteral(std::u16string_view units) {
  std::string out = "\"";
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char16_t unit = units[i];
    if (IsHighSurrogate(unit) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
      out += Utf16ToUtf8(units.substr(i, 2));
      ++i;
    } else if (unit == u'"') {
      out += "\\\"";
    } else if (unit == u'\\') {
      out += "\\\\";
    } else if (unit < 0x20 || unit == u'<' || unit == u'>' || unit == u'&' || unit == 0x7F ||
               unit == 0x2028 || unit == 0x2029 || IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      AppendUnitEscape(out, unit);
    } else {
      AppendUtf8(out, unit);
    }
  }
  out += '"';
  return out;
}

}  // namespace taviro
