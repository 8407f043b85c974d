// What a page sends the window (window.external calls) and the script
// string literals the program reads from pages and writes into t.htm: a
// call is only the offered name within its limits, a literal written back
// reads the same and holds nothing that could end its script element.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "playback/external_call.h"
#include "playback/script_string_literal.h"
#include "property.h"
#include "util/utf8.h"

namespace {

using taviro::fuzz::Check;

std::u16string UnitsFrom(FuzzedDataProvider& input, std::size_t max_units) {
  std::u16string units;
  const std::size_t count = input.ConsumeIntegralInRange<std::size_t>(0, max_units);
  for (std::size_t i = 0; i < count && input.remaining_bytes() > 0; ++i) {
    units.push_back(input.ConsumeIntegral<char16_t>());
  }
  return units;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::u16string units = UnitsFrom(input, 64);
  const std::string message = input.ConsumeRemainingBytesAsString();

  // Any message: nothing, or the offered call within its limits.
  if (const auto call = taviro::ParseExternalCall(message)) {
    Check(call->name == "DangJ", "only the offered call passes", message);
    Check(call->arguments.size() <= taviro::kMaxExternalArguments, "at most eight arguments", message);
    for (const std::string& argument : call->arguments) {
      Check(taviro::Utf8ToUtf16(argument).size() <= taviro::kMaxExternalArgumentUnits, "arguments are short",
            message);
    }
  }

  // Any text read as a literal, then written back: safe, and read the same.
  const std::u32string text = taviro::DecodeUtf8(message);
  std::size_t length = 0;
  if (const auto read = taviro::ReadScriptStringLiteral(text, length)) {
    Check(length <= text.size(), "a literal is part of the text", message);
  }
  const std::string literal = taviro::ScriptSafeJsonLiteral(units);
  Check(literal.find_first_of("<>&") == std::string::npos, "a written literal holds no markup", literal);
  const std::u32string literal_text = taviro::DecodeUtf8(literal);
  length = 0;
  const auto again = taviro::ReadScriptStringLiteral(literal_text, length);
  Check(again && length == literal_text.size(), "a written literal reads as one literal", literal);
  // Unpaired surrogates are written as escapes of themselves, so all units
  // come back.
  Check(*again == units, "a written literal reads back its units", literal);

  // A call built as the page bridge builds it reads back.
  const std::string argument = taviro::Utf16ToUtf8(units);
  const std::string built =
      "[\"DangJ\"," + taviro::ScriptSafeJsonLiteral(taviro::Utf8ToUtf16(argument)) + ",\"1\"]";
  const auto call = taviro::ParseExternalCall(built);
  Check(call && call->arguments.size() == 2 && call->arguments[0] == argument && call->arguments[1] == "1",
        "a call gives back its arguments", built);
  return 0;
}
