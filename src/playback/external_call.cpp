#include "playback/external_call.h"

#include "playback/script_string_literal.h"
#include "util/utf8.h"

namespace taviro {
namespace {

constexpr std::string_view kOfferedCalls[] = {"DangJ"};
// A whole message larger than the limits allow is not even decoded.
constexpr std::size_t kMaxMessageBytes = 64 * 1024;

class Reader {
 public:
  explicit Reader(std::u32string text) : text_(std::move(text)) {}

  void SkipSpace() {
    while (pos_ < text_.size() &&
           (text_[pos_] == U' ' || text_[pos_] == U'\t' || text_[pos_] == U'\n' || text_[pos_] == U'\r')) {
      ++pos_;
    }
  }
  bool Take(char32_t c) {
    SkipSpace();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  // A JSON string: double quotes only.
  std::optional<std::u16string> String() {
    SkipSpace();
    if (pos_ >= text_.size() || text_[pos_] != U'"') return std::nullopt;
    std::size_t length = 0;
    std::optional<std::u16string> value =
        ReadScriptStringLiteral(std::u32string_view(text_).substr(pos_), length);
    pos_ += length;
    return value;
  }
  bool AtEnd() {
    SkipSpace();
    return pos_ == text_.size();
  }

 private:
  std::u32string text_;
  std::size_t pos_ = 0;
};

bool Offered(const std::string& name) {
  for (std::string_view offered : kOfferedCalls) {
    if (name == offered) return true;
  }
  return false;
}

}  // namespace

std::optional<ExternalCall> ParseExternalCall(std::string_view message) {
  if (message.size() > kMaxMessageBytes) return std::nullopt;
  Reader reader(DecodeUtf8(message));
  if (!reader.Take(U'[')) return std::nullopt;
  const std::optional<std::u16string> name = reader.String();
  if (!name) return std::nullopt;
  ExternalCall call{Utf16ToUtf8(*name), {}};
  if (!Offered(call.name)) return std::nullopt;
  while (reader.Take(U',')) {
    const std::optional<std::u16string> argument = reader.String();
    if (!argument || argument->size() > kMaxExternalArgumentUnits ||
        call.arguments.size() == kMaxExternalArguments) {
      return std::nullopt;
    }
    call.arguments.push_back(Utf16ToUtf8(*argument));
  }
  if (!reader.Take(U']') || !reader.AtEnd()) return std::nullopt;
  return call;
}

}  // namespace taviro
