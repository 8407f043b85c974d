#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace taviro {

// The local episode-list page t.htm: the program's own page template with
// the episode data of the catalogue page in place of every "[ly]". It lives
// in the application folder and is opened with an episode-list query.

inline constexpr std::string_view kEpisodeListPageName = "t.htm";
inline constexpr std::string_view kEpisodeDataPlaceholder = "[ly]";

// The script expression after "var VideoInfoList=" up to the next ";" in a
// page's body; nothing when the body has no such variable.
std::optional<std::string> EpisodeDataOf(std::string_view body_html);

std::string FillEpisodeListTemplate(std::string_view page_template, std::string_view episode_data);

// Writes `page` as the program writes every file: GB18030, CR LF line ends,
// one line end after the text. False when the file could not be replaced.
bool WriteEpisodeListPage(const std::filesystem::path& file, std::string_view page);

}  // namespace taviro
