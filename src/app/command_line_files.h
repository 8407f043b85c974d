#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace taviro {

struct MainWindow;

// A path of the command line that is no file to play.
enum class FileProblem { kMissing, kFolder };
struct RefusedFile {
  std::string path;  // as given
  FileProblem problem;
};

struct ScreenedCommandLine {
  std::string command_line;  // what is left, as JoinHandOffPaths joins it
  std::vector<RefusedFile> refused;
};

// Leaves the local paths that name nothing or a folder out of a start's
// command line (one path, or several joined by JoinHandOffPaths), so they are
// neither played nor recorded. Addresses ("scheme://...") pass unchecked;
// relative paths are looked for in `working_folder`.
ScreenedCommandLine ScreenCommandLine(const std::string& command_line,
                                      const std::filesystem::path& working_folder);

// One line for stderr, "taviro: ..." with a newline.
std::string RefusedFileLine(const RefusedFile& file);

// Tells the window's user: on the status strip and in a balloon.
void ShowRefusedFiles(MainWindow& window, const std::vector<RefusedFile>& refused);
// The status strip's text for one file.
std::string RefusedFileNotice(const RefusedFile& file);

}  // namespace taviro
