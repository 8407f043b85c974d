#include "playback/episode_list_page.h"

#include "app/ansi_text.h"
#include "app/extract_between.h"
#include "app/file_io.h"

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

}  // namespace

std::optional<std::string> EpisodeDataOf(std::string_view body_html) {
  if (body_html.find(kEpisodeDataMarker) == std::string_view::npos) return std::nullopt;
  // Without a ";" after it the data is empty: the page then shows no list.
  return ExtractBetween(body_html, kEpisodeDataMarker, ";", 2).value_or(std::string());
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
