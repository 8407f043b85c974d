// Extract-between: a text built around two markers gives back what lies
// between them; any text gives a piece of itself or nothing.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "property.h"
#include "util/extract_between.h"
#include "util/utf8.h"

namespace {

using taviro::fuzz::Check;

std::string Utf8From(FuzzedDataProvider& input, std::size_t max_bytes) {
  return taviro::EncodeUtf8(taviro::DecodeUtf8(input.ConsumeRandomLengthString(max_bytes)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string start = Utf8From(input, 8);
  const std::string end = Utf8From(input, 8);
  const std::string before = Utf8From(input, 64);
  const std::string between = Utf8From(input, 64);
  const std::string after = Utf8From(input, 64);
  const int mode = input.ConsumeIntegralInRange(0, 3);

  // Arbitrary text: a piece of the text (and of the markers' search) or nothing.
  const std::string text = before + between + after;
  if (const auto piece = taviro::ExtractBetween(text, start, end, mode)) {
    Check(mode == 1 || mode == 2, "only modes 1 and 2 give a result");
    Check(text.find(*piece) != std::string::npos, "the result is a piece of the text", *piece);
    // Mode 1 looks for the end marker from where the start marker begins,
    // not where it ends: pages and files written for that search rely on it.
    // So an end marker inside the start marker cuts the piece short; the
    // program's markers never overlap like that, and only markers apart are
    // held to keeping both.
    const std::u32string characters = taviro::DecodeUtf8(text);
    const std::size_t start_at = characters.find(taviro::DecodeUtf8(start));
    const bool apart =
        start_at != std::u32string::npos && !end.empty() &&
        characters.find(taviro::DecodeUtf8(end), start_at) >= start_at + taviro::DecodeUtf8(start).size();
    if (mode == 1 && apart) {
      Check(piece->starts_with(start) && piece->ends_with(end), "mode 1 keeps both markers",
            start + "|" + end + "|" + text + "|" + *piece);
    }
  }

  // A text built with the markers in place, as long as each marker is found
  // where it was put. Positions count characters, as the routine does.
  if (start.empty() || end.empty()) return 0;
  const std::u32string s = taviro::DecodeUtf8(start);
  const std::u32string e = taviro::DecodeUtf8(end);
  const std::u32string head = taviro::DecodeUtf8(before);
  const std::u32string middle = taviro::DecodeUtf8(between);
  const std::u32string built = head + s + middle + e + taviro::DecodeUtf8(after);
  const std::size_t end_at = head.size() + s.size() + middle.size();
  if (built.find(s) != head.size()) return 0;
  const std::string built_text = taviro::EncodeUtf8(built);
  if (built.find(e, head.size() + s.size()) == end_at) {
    Check(taviro::ExtractBetween(built_text, start, end, 2) == between, "mode 2 gives what lies between",
          built_text);
  }
  // Mode 1 looks for the end marker from the start marker itself.
  if (built.find(e, head.size()) == end_at) {
    Check(taviro::ExtractBetween(built_text, start, end, 1) == start + between + end,
          "mode 1 gives it with the markers", built_text);
  }
  return 0;
}
