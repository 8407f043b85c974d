#include "playback/episode_list_page.h"

#include "playback/script_string_literal.h"
#include "util/ansi_text.h"
#include "util/file_io.h"
#include "util/utf8.h"

namespace taviro {
namespace {

constexpr std::string_view kEpisodeDataMarker = "var VideoInfoList=";

// The template may come with LF line ends; the file gets CR LF throughout.
std::string WithCrLf(std::string_view text) {
  std::string result;
  result.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) result.push_back('\r');
    result.push_back(text[i]);
  }
  return result;
}

bool IsScriptSpace(char32_t c) { return c == U' ' || c == U'\t' || c == U'\r' || c == U'\n'; }

std::size_t SkipSpace(std::u32string_view text, std::size_t pos) {
  while (pos < text.size() && IsScriptSpace(text[pos])) ++pos;
  return pos;
}

}  // namespace

std::optional<std::string> EpisodeDataOf(std::string_view body_html) {
  const std::size_t marker = body_html.find(kEpisodeDataMarker);
  if (marker == std::string_view::npos) return std::nullopt;
  // The data goes into a page of ours that runs as a local file: only one
  // string literal and its ";" are taken, and written back as a literal
  // that cannot end the script it stands in.
  const std::u32string rest = DecodeUtf8(body_html.substr(marker + kEpisodeDataMarker.size()));
  const std::size_t start = SkipSpace(rest, 0);
  std::size_t length = 0;
  const std::optional<std::u16string> value =
      ReadScriptStringLiteral(std::u32string_view(rest).substr(start), length);
  const std::size_t end = SkipSpace(rest, start + length);
  if (!value || end >= rest.size() || rest[end] != U';') return std::nullopt;
  return ScriptSafeJsonLiteral(*value);
}

std::string FillEpisodeListTemplate(std::string_view page_template, std::string_view episode_data) {
  std::string page;
  std::size_t start = 0;
  for (std::size_t found = page_template.find(kEpisodeDataPlaceholder); found != std::string_view::npos;
       found = page_template.find(kEpisodeDataPlaceholder, start)) {
    page.append(page_template.substr(start, found - start)).append(episode_data);
    start = found + kEpisodeDataPlaceholder.size();
  }
  page.append(page_template.substr(start));
  return page;
}

bool WriteEpisodeListPage(const std::filesystem::path& file, std::string_view page) {
  std::string bytes = EncodeAnsi(WithCrLf(page));
  bytes.append(kCrLf);
  return WriteFileAtomically(file, bytes);
}

}  // namespace taviro
