#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace taviro::demo {

struct CommandLine {
  int port = 0;
  std::filesystem::path data_folder;   // holds catalogue.json; none: no JSON catalogue
  std::filesystem::path media_folder;  // the sample clips
  // Empty: the service's own end-of-play address under its base.
  std::string end_address;
  // Folders of the user's media besides the videos folder and those of the
  // settings file.
  std::vector<std::filesystem::path> library_folders;
  // Channel lists (files or http(s) addresses) besides those of service.ini.
  std::vector<std::string> channel_lists;
  // The socket the starting program passed: the address goes there, a key
  // guards every page, and the service ends when the program's end closes.
  int parent_fd = -1;
  // The fault board, the throttle, the switch board and the request log.
  bool test_controls = false;
  bool help = false;
};

// "--port N", "--data DIR", "--media DIR", "--end-address URL",
// "--library DIR" (repeatable), "--channels LIST" (repeatable), "--parent-fd N", "--test-controls",
// "--help" over the given defaults; an unknown option or a bad number
// gives nothing and sets `error`.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& arguments, CommandLine defaults,
                                            std::string& error);

inline constexpr const char* kUsage =
    "usage: taviro-service [--port N] [--library DIR]... [--channels LIST]... [--data DIR] [--media DIR] "
    "[--end-address URL]\n"
    "                      [--parent-fd N] [--test-controls]\n"
    "Serves the catalogue on http://127.0.0.1:N/ (port 0, the default, takes any free port), with the\n"
    "media of the videos folder, of each --library DIR and of the folders kept in service.ini; the TV page\n"
    "lists the channels of each --channels LIST (an M3U file or http(s) address) and of service.ini.\n";

}  // namespace taviro::demo
