#include "util/ansi_text.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

#include "util/utf8.h"

namespace taviro {
namespace {

struct IconvCloser {
  void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

IconvHandle OpenConverter(const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {  // NOLINT: iconv's error value
    return nullptr;
  }
  return IconvHandle(cd);
}

// Converts `in`, replacing each input byte that starts no valid character by
// `replacement` (already in the target encoding) and going on after it.
std::string Convert(const char* to, const char* from, std::string_view in, std::string_view replacement) {
  IconvHandle cd = OpenConverter(to, from);
  if (!cd) {
    return std::string(in);
  }
  std::string out;
  out.resize(in.size() * 2 + 16);
  auto* in_ptr = const_cast<char*>(in.data());  // iconv's signature predates const
  std::size_t in_left = in.size();
  std::size_t written = 0;
  while (in_left > 0) {
    char* out_ptr = out.data() + written;
    std::size_t out_left = out.size() - written;
    const std::size_t rc = iconv(static_cast<iconv_t>(cd.get()), &in_ptr, &in_left, &out_ptr, &out_left);
    written = out.size() - out_left;
    if (rc != static_cast<std::size_t>(-1)) {
      break;
    }
    if (errno == E2BIG) {
      out.resize(out.size() * 2);
      continue;
    }
    // EILSEQ or EINVAL (truncated tail): replace one byte and resynchronise.
    if (out.size() - written < replacement.size()) {
      out.resize(out.size() * 2 + replacement.size());
    }
    out.replace(written, replacement.size(), replacement);
    written += replacement.size();
    ++in_ptr;
    --in_left;
    iconv(static_cast<iconv_t>(cd.get()), nullptr, nullptr, nullptr, nullptr);
  }
  out.resize(written);
  return out;
}

}  // namespace

std::string EncodeAnsi(std::string_view utf8) {
  if (IsAscii(utf8)) {
    return std::string(utf8);
  }
  static constexpr std::string_view kGbReplacement = "\x84\x31\xA4\x37";
  if (IsValidUtf8(utf8)) {
    return Convert("GB18030", "UTF-8", utf8, kGbReplacement);
  }
  // Re-encoding first turns malformed UTF-8 into U+FFFD, which GB18030 holds.
  return Convert("GB18030", "UTF-8", EncodeUtf8(DecodeUtf8(utf8)), kGbReplacement);
}

std::string DecodeAnsi(std::string_view ansi) {
  if (IsAscii(ansi)) {
    return std::string(ansi);
  }
  return Convert("UTF-8", "GB18030", ansi, "\xEF\xBF\xBD");
}

std::string DecodeToUtf8(std::string_view bytes, const char* encoding) {
  return Convert("UTF-8", encoding, bytes, "\xEF\xBF\xBD");
}

}  // namespace taviro
