#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace taviro::demo {

struct CommandLine {
  int port = 0;
  std::filesystem::path data_folder;   // holds catalogue.json
  std::filesystem::path media_folder;  // the sample clips
  std::string end_address;
  std::vector<std::filesystem::path> library_folders;  // besides the videos folder and the kept ones
  bool help = false;
};

// "--port N", "--data DIR", "--media DIR", "--end-address URL",
// "--library DIR" (repeatable), "--help"
// over the given defaults; an unknown option or a bad port gives nothing
// and sets `error`.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& arguments, CommandLine defaults,
                                            std::string& error);

inline constexpr const char* kUsage =
    "usage: taviro-demo-service [--port N] [--data DIR] [--media DIR] [--end-address URL]\n"
    "       [--library DIR]...\n"
    "Serves the demo catalogue on http://127.0.0.1:N/ (port 0 takes any free port), with the\n"
    "media of the videos folder, of each --library DIR and of the folders kept in service.ini.\n";

}  // namespace taviro::demo
