#pragma once

#include <string>
#include <string_view>

#include "http/catalogue.h"

namespace taviro::demo {

// "lib/wen.txt": exit promotion, notice, pause panel, ticker, player panel
// and version, joined by "====", ended by CR LF.
std::string SwitchFileText(const Switches& switches);

// "lib/gun.txt": entries "headline||link" joined by "$$$", ended by CR LF.
// Relative links become whole addresses; "*" and empty links stay.
std::string HeadlineFileText(const std::vector<Headline>& headlines, std::string_view base_url);

// "lib/tan.txt": delay||stay||repeat||addresses joined by "$$$", ended by
// CR LF; page k (from 1) is "notice/k.htm".
std::string NoticeScheduleText(const NoticeSchedule& schedule, std::string_view base_url);

// "notice/k.htm": a small card that the notice window sizes itself to.
std::string RenderNoticePage(const NoticePage& page, std::string_view base_url);

// "update/update.exe": a stand-in updater that only says what it is.
std::string UpdaterBytes();

}  // namespace taviro::demo
