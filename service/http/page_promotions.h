#pragma once

#include <string>

#include "http/catalogue.h"

namespace taviro::demo {

// "js/ads/bo.html": a 468 x 60 banner.
std::string RenderBannerPage();

// "js/ads/jingcai.html": highlights of the catalogue.
std::string RenderHighlightsPage(const Catalogue& catalogue);

// "js/ads/qvodad.html": the 450 x 260 panel shown while play is paused.
std::string RenderPausePanelPage();

// "js/ads/tui.html": the page shown after the program quits, when asked.
std::string RenderExitPage();

// "tj/tj.asp": nothing to see; the request itself is what counts.
std::string RenderStatisticsReply();

}  // namespace taviro::demo
