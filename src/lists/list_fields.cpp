#include "lists/list_fields.h"

#include "util/ansi_text.h"
#include "util/utf8.h"

namespace taviro {
namespace {

constexpr std::string_view kFileUriPrefix = "file://";

bool IsControl(unsigned char byte) { return byte < 0x20 || byte == 0x7F; }

bool IsKeptInUri(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
         byte == '-' || byte == '.' || byte == '_' || byte == '~' || byte == '/';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool StoresPlain(std::string_view path) {
  for (char c : path) {
    if (c == '|' || c == '\r' || c == '\n' || c == '\0') return false;
  }
  return !path.starts_with(kFileUriPrefix) && IsValidUtf8(path) && DecodeAnsi(EncodeAnsi(path)) == path;
}

}  // namespace

std::string MendEscapedField(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (char c : field) {
    switch (c) {
      case '|': out += "%7C"; break;
      case '\r': out += "%0D"; break;
      case '\n': out += "%0A"; break;
      default: out += c;
    }
  }
  return out;
}

std::string MendDisplayName(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (char32_t c : DecodeUtf8(name)) {
    if (c == U'|') {
      out += "｜";
    } else if (c < 0x80 && IsControl(static_cast<unsigned char>(c))) {
      out += ' ';
    } else {
      AppendUtf8(out, c);
    }
  }
  return out;
}

std::string StoredLocalPath(std::string_view path) {
  if (StoresPlain(path)) return std::string(path);
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out(kFileUriPrefix);
  for (char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (IsKeptInUri(byte)) {
      out += c;
    } else {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    }
  }
  return out;
}

std::string LocalPathFromStored(std::string_view field) {
  if (!field.starts_with(kFileUriPrefix)) return std::string(field);
  field.remove_prefix(kFileUriPrefix.size());
  std::string path;
  path.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '%' && i + 2 < field.size() && HexValue(field[i + 1]) >= 0 &&
        HexValue(field[i + 2]) >= 0) {
      path += static_cast<char>(HexValue(field[i + 1]) * 16 + HexValue(field[i + 2]));
      i += 2;
    } else {
      path += field[i];  // a stray "%" of a hand-edited line stays as it is
    }
  }
  return path;
}

}  // namespace taviro
