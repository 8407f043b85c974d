// The texts of a hand-off and a command line, apart from what the program
// does with them (command_line_handoff.cpp), so that their parsing stands
// alone.
#include "app/command_line_handoff.h"

namespace taviro {

std::string CommandLinePath(std::string_view command_line) {
  std::string path;
  path.reserve(command_line.size());
  for (char c : command_line) {
    if (c != '"') {
      path += c;
    }
  }
  if (!path.empty() && path.back() == '/') {
    path.pop_back();
  }
  return path;
}

std::string PathIn(const std::string& path, const std::filesystem::path& working_folder) {
  if (path.empty() || working_folder.empty() || path.front() == '/' ||
      path.find("://") != std::string::npos) {
    return path;
  }
  return (working_folder / path).lexically_normal().string();
}

std::string CommandLinePathIn(std::string_view command_line, const std::filesystem::path& working_folder) {
  return PathIn(CommandLinePath(command_line), working_folder);
}

std::string EncodeHandOff(const HandOffMessage& message) {
  std::string text = message.working_folder;
  text += '\0';
  text += message.activation_token;
  text += '\0';
  text += message.command_line;
  return text;
}

HandOffMessage DecodeHandOff(std::string_view text) {
  const std::size_t folder_end = text.find('\0');
  if (folder_end == std::string_view::npos) {
    return HandOffMessage{{}, std::string(text)};
  }
  const std::string_view rest = text.substr(folder_end + 1);
  const std::size_t token_end = rest.find('\0');
  if (token_end == std::string_view::npos) {
    return HandOffMessage{std::string(text.substr(0, folder_end)), std::string(rest)};
  }
  return HandOffMessage{std::string(text.substr(0, folder_end)), std::string(rest.substr(token_end + 1)),
                        std::string(rest.substr(0, token_end))};
}

}  // namespace taviro
