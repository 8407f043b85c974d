#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace taviro {

struct PlaybackContext;

// The command line taken as one file path: every double quote removed, then
// one trailing "/". Nothing else is parsed, so arguments joined by a blank
// stay one path.
std::string CommandLinePath(std::string_view command_line);

// Plays the command line's file and puts it on top of the local-file list,
// showing the player tab and the local-file side tab. The file is not looked
// for: the player reports a wrong path through its state.
void l_com(PlaybackContext& context, const std::string& command_line);
// The same for a path that is exact already (a drop, one of several
// arguments): no quote or slash is taken off.
void PlayLocalFile(PlaybackContext& context, const std::string& path);

// The first instance receiving a later start's command line: the window
// comes forward (restored when minimised); an empty text does nothing more,
// any other leaves mini mode, switches to the player and plays it. A text
// holding several paths (see hand_off_paths.h) plays the first and lists
// them all.
// `enable_vendor_check` enables the one-shot vendor process check (Timer3)
// so that it runs once more; empty until that check exists.
void ReceiveHandOff(PlaybackContext& context, const std::string& text,
                    const std::function<void()>& enable_vendor_check);

}  // namespace taviro
