#pragma once

#include <string>

#include "library/library_view.h"

namespace taviro::catalogue {

// The home page's part for the user's own media: a filter box, the scan's
// progress, a card per title (poster, title, episode count, every episode a
// catalogue link), and the folders watched with the form that adds one.
// With no title yet it says which folders are watched and how to add one.
std::string RenderLibrarySection(const LibraryView& view, const LibraryProgress& progress);

// "library/progress": the scan's progress as one line of text for the page.
std::string ProgressText(const LibraryProgress& progress);

inline constexpr const char* kLibraryStyle = R"css(
.lib-bar{display:flex;align-items:center;gap:12px;margin:22px 0 12px}
.lib-bar h2{margin:0}
.lib-bar input{width:200px;height:26px;border-radius:13px;background:#2b2b2b;color:#ddd;border:1px solid #3a3a3a;
 padding:0 12px}
.lib-progress{color:#f0b060;font-size:12px}
.lib-poster{display:block;width:120px;height:165px;border-radius:4px;object-fit:cover;background:#2c3844;
 flex:none}
.lib-empty{padding:16px;border-radius:5px;background:#2a2929;color:#bbb}
.lib-folders{margin-top:16px;color:#999;font-size:12px}
.lib-folders li{margin:3px 0}
.lib-folders form{display:inline}
.lib-folders button,.lib-add button{margin-left:8px;background:#383636;color:#ccc;border:0;border-radius:2px;
 padding:1px 8px}
.lib-add input{width:320px;background:#2b2b2b;color:#ddd;border:1px solid #3a3a3a;padding:1px 6px}
)css";

}  // namespace taviro::catalogue
