// The episode data a catalogue page carries into the local t.htm: found
// where the page puts it, and written into the program's own template as one
// script string literal that no page text can end early.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "playback/episode_list_page.h"
#include "playback/script_string_literal.h"
#include "property.h"
#include "util/file_io.h"
#include "util/utf8.h"

namespace {

using taviro::fuzz::Check;

const std::string& PageTemplate() {
  static const std::string text =
      taviro::ReadFileBytes(TAVIRO_SOURCE_DIR "/data/pages/t.htm").value_or(std::string("<p>[ly]</p>"));
  return text;
}

// Nothing, or a double-quoted JSON string with no '<' in it: nothing in it can end the
// script element or the literal.
bool IsSafeStringLiteral(std::string_view text) {
  if (text.empty()) return true;  // a page without data shows no list
  if (text.size() < 2 || text.front() != '"' || text.back() != '"') return false;
  for (std::size_t i = 1; i + 1 < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '"' || c == '<' || c < 0x20) return false;
    if (c == '\\') {
      if (++i + 1 >= text.size()) return false;
      if (std::string_view("\"\\/bfnrtu").find(text[i]) == std::string_view::npos) return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string before = input.ConsumeRandomLengthString(64);
  const std::string body = input.ConsumeRemainingBytesAsString();

  // Built: a page whose variable holds one literal gives exactly it back,
  // written as a script-safe JSON literal.
  constexpr std::string_view kMarker = "var VideoInfoList=";
  const std::u16string units = taviro::Utf8ToUtf16(taviro::EncodeUtf8(taviro::DecodeUtf8(before)));
  if (before.find(kMarker) == std::string::npos) {
    const std::string literal = taviro::ScriptSafeJsonLiteral(units);
    const std::string page_body = before + std::string(kMarker) + " " + literal + " ;" + body;
    Check(taviro::EpisodeDataOf(page_body) == literal, "a page's literal is its episode data", page_body);
  }
  const std::string built = before + std::string(kMarker) + body;

  // Whatever the page holds, the filled template is the template with one
  // literal in place of the placeholder.
  const std::optional<std::string> episode_data = taviro::EpisodeDataOf(built);
  if (!episode_data) return 0;
  const std::string& page_template = PageTemplate();
  const std::size_t at = page_template.find(taviro::kEpisodeDataPlaceholder);
  const std::string page = taviro::FillEpisodeListTemplate(page_template, *episode_data);
  const std::string_view head = std::string_view(page_template).substr(0, at);
  const std::string_view tail =
      std::string_view(page_template).substr(at + taviro::kEpisodeDataPlaceholder.size());
  Check(page.starts_with(head) && page.ends_with(tail), "the template stays around the data", page);
  const std::string_view literal =
      std::string_view(page).substr(head.size(), page.size() - head.size() - tail.size());
  Check(IsSafeStringLiteral(literal), "the episode data is one script-safe literal", literal);
  return 0;
}
