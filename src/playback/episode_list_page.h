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

// The episode data of a page's body: the string literal after
// "var VideoInfoList=" (up to its ";"), as a JSON string literal safe to put
// into a script element. Nothing when the body has no such variable, or
// when its value is anything but one string literal.
std::optional<std::string> EpisodeDataOf(std::string_view body_html);

std::string FillEpisodeListTemplate(std::string_view page_template, std::string_view episode_data);

// Writes `page` as the program writes every file: GB18030, CR LF line ends,
// one line end after the text. False when the file could not be replaced.
bool WriteEpisodeListPage(const std::filesystem::path& file, std::string_view page);

}  // namespace taviro
