#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace taviro {

enum class ProgramAction { kRun, kShowHelp, kShowVersion, kBadOption };

struct ProgramArguments {
  ProgramAction action = ProgramAction::kRun;
  std::vector<std::string> paths;  // media files, in the order given
  std::string bad_option;          // the first unknown option, for kBadOption
  // Folders of films the program's own service shows besides those of its
  // settings file ("--library DIR", repeatable).
  std::vector<std::string> library_folders;
};

// --help (-h), --version and --library DIR are the options; "--" ends them,
// and every later argument is a media path, even one that starts with "-".
// Before it, any other argument that starts with "-" (but "-" alone) is an
// unknown option, and so is a --library without its folder.
ProgramArguments ParseProgramArguments(const std::vector<std::string>& arguments);

// The terminal's texts, in the user's language.
std::string HelpText();
std::string VersionText();
// For an unknown option: what was wrong, then the usage, for stderr.
std::string BadOptionText(const std::string& option);
inline constexpr int kBadOptionExitCode = 2;
// Printed when no display can be opened.
std::string NoDisplayText();
inline constexpr int kNoDisplayExitCode = 3;

}  // namespace taviro
