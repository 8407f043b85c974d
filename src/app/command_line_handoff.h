#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace taviro {

struct PlaybackContext;

// The command line taken as one file path: every double quote removed, then
// one trailing "/". Nothing else is parsed, so arguments joined by a blank
// stay one path.
std::string CommandLinePath(std::string_view command_line);

// The command-line path as the player gets it: a relative path is taken in
// `working_folder`, the folder the program was started from, so that
// "taviro clip.mp4" means the same file whichever instance plays it.
// Absolute paths, addresses ("scheme://...") and paths given with no working
// folder are kept as they are.
std::string CommandLinePathIn(std::string_view command_line, const std::filesystem::path& working_folder);
// The same for a path that is exact already (one of several arguments): no
// quote or slash is taken off.
std::string PathIn(const std::string& path, const std::filesystem::path& working_folder);

// What a later start hands to the running instance: the folder it was
// started from, its command line (several paths as JoinHandOffPaths joins
// them) and the launcher's activation token or startup id, which lets the
// running window come to the front on the launcher's word.
struct HandOffMessage {
  std::string working_folder;
  std::string command_line;
  std::string activation_token = {};
};

// On the wire: the folder, the token and the command line, each of the first
// two ended by a NUL, which neither can hold (the command line may: it joins
// several paths with NULs). A text with one NUL is a folder and a command
// line, one without any a bare command line.
std::string EncodeHandOff(const HandOffMessage& message);
HandOffMessage DecodeHandOff(std::string_view text);

// Plays the command line's file and puts it on top of the local-file list
// (with its absolute path, so that the row plays again later), showing the
// player tab and the local-file side tab. The file is not looked for: the
// player reports a wrong path through its state.
void AddAndPlayLocalFile(PlaybackContext& context, const std::string& command_line,
                         const std::filesystem::path& working_folder = {});
// The same for a path that is exact and absolute already (a drop, one of
// several arguments).
void PlayLocalFile(PlaybackContext& context, const std::string& path);

// A command line to play, from a later start or from this one's own start:
// leaves mini mode, switches to the player tab and the player (so that the
// control bar and the keys act on the file) and plays it.
void PlayCommandLine(PlaybackContext& context, const std::string& command_line,
                     const std::filesystem::path& working_folder);

// The first instance receiving a later start's text (EncodeHandOff): the
// window comes forward (restored when minimised); an empty command line does
// nothing more, any other is opened as OpenCommandLine does.
// `enable_vendor_check` enables the one-shot vendor process check (Timer3)
// so that it runs once more; empty until that check exists.
void ReceiveHandOff(PlaybackContext& context, const std::string& text,
                    const std::function<void()>& enable_vendor_check);

}  // namespace taviro
