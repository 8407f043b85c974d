// The settings text: whatever the file holds, setting one key and reading it
// back gives the value set, and every other key keeps its value.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "property.h"
#include "util/profile_text.h"

namespace {

using taviro::fuzz::Check;

// Names the program writes: no line end, no ']' or '=', no blanks around
// them. Letters of both cases, so that matching without case is exercised.
std::string NameFrom(FuzzedDataProvider& input) {
  static constexpr std::string_view kAlphabet = "aAbB_.0";
  std::string name;
  for (const char c : input.ConsumeRandomLengthString(8)) {
    name += kAlphabet[static_cast<unsigned char>(c) % kAlphabet.size()];
  }
  return name.empty() ? std::string("k") : name;
}

// A value that reads back as written: no line end, no blanks around it, not
// wrapped in a pair of quotes.
bool ReadsBackAsWritten(std::string_view value) {
  if (value.find_first_of("\r\n") != std::string_view::npos) return false;
  if (value != taviro::TrimBlanks(value)) return false;
  const bool quoted =
      value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
  return !quoted;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string section = NameFrom(input);
  const std::string key = NameFrom(input);
  const std::string other_section = NameFrom(input);
  const std::string other_key = NameFrom(input);
  const std::string value = input.ConsumeRandomLengthString(64);
  const std::string text = input.ConsumeRemainingBytesAsString();

  // Whatever the text, a value found never spans a line.
  for (const auto& [s, k] : {std::pair{section, key}, std::pair{other_section, other_key}}) {
    if (const auto found = taviro::FindProfileValue(text, s, k)) {
      Check(found->find('\n') == std::string_view::npos, "a value stays on its line", *found);
    }
  }
  if (!ReadsBackAsWritten(value)) return 0;

  const std::string changed = taviro::SetProfileValue(text, section, key, value);
  const auto read_back = taviro::FindProfileValue(changed, section, key);
  Check(read_back && *read_back == value, "a value set reads back", changed);

  const bool same_place =
      taviro::FindProfileValue("[" + section + "]\r\n" + key + "=x\r\n", other_section, other_key)
          .has_value();
  if (!same_place) {
    Check(taviro::FindProfileValue(text, other_section, other_key) ==
              taviro::FindProfileValue(changed, other_section, other_key),
          "setting one key leaves the others", changed);
  }
  return 0;
}
