#include "service/command_line.h"

#include <charconv>

namespace taviro::demo {

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& arguments, CommandLine defaults,
                                            std::string& error) {
  CommandLine result = std::move(defaults);
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    if (option == "--help" || option == "-h") {
      result.help = true;
      continue;
    }
    if (option == "--test-controls") {
      result.test_controls = true;
      continue;
    }
    if (option != "--port" && option != "--data" && option != "--media" && option != "--end-address" &&
        option != "--library" && option != "--channels" && option != "--parent-fd") {
      error = "unknown option " + option;
      return std::nullopt;
    }
    if (i + 1 >= arguments.size()) {
      error = option + " needs a value";
      return std::nullopt;
    }
    const std::string& value = arguments[++i];
    if (option == "--port" || option == "--parent-fd") {
      int number = -1;
      auto [ptr, parse_error] = std::from_chars(value.data(), value.data() + value.size(), number);
      const int highest = option == "--port" ? 65535 : 1 << 20;
      if (parse_error != std::errc() || ptr != value.data() + value.size() || number < 0 ||
          number > highest) {
        error = (option == "--port" ? "bad port " : "bad descriptor ") + value;
        return std::nullopt;
      }
      (option == "--port" ? result.port : result.parent_fd) = number;
    } else if (option == "--library") {
      result.library_folders.emplace_back(value);
    } else if (option == "--channels") {
      result.channel_lists.push_back(value);
    } else if (option == "--data") {
      result.data_folder = value;
    } else if (option == "--media") {
      result.media_folder = value;
    } else {
      result.end_address = value;
    }
  }
  return result;
}

}  // namespace taviro::demo
