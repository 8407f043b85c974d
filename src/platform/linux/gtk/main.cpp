#include <gtk/gtk.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_folder.h"
#include "app/hand_off_paths.h"
#include "app/program_arguments.h"
#include "platform/linux/gtk/desktop_app.h"
#include "taviro_build_config.h"

namespace {

// TAVIRO_SERVICE_BASE_URL points a development or test run at another service
// (a demo service on a free port); the player download page moves with it.
void ApplyServiceOverride(taviro::gtk::DesktopConfig& config) {
  const char* base = std::getenv("TAVIRO_SERVICE_BASE_URL");
  if (base == nullptr || *base == '\0') {
    return;
  }
  config.service_base_url = base;
  if (config.service_base_url.back() != '/') {
    config.service_base_url += '/';
  }
  config.player_download_url = config.service_base_url + "download/player.htm";
}

}  // namespace

int main(int argc, char** argv) {
  const taviro::ProgramArguments arguments =
      taviro::ParseProgramArguments(std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
  if (arguments.action != taviro::ProgramAction::kRun) {
    const std::string text =
        arguments.action == taviro::ProgramAction::kShowHelp ? taviro::HelpText() : taviro::VersionText();
    std::fputs(text.c_str(), stdout);
    return 0;
  }
  if (!gtk_init_check(nullptr, nullptr)) {
    std::fputs(std::string(taviro::kNoDisplayText).c_str(), stderr);
    return taviro::kNoDisplayExitCode;
  }
  // The player library refuses any locale whose numbers are not written the C
  // way; the interface stays in the user's language.
  std::setlocale(LC_NUMERIC, "C");

  taviro::gtk::DesktopConfig config;
  config.app_folder = taviro::ResolveAppFolder(
      taviro::ProgramFolder(), taviro::XdgDataHome(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")));
  config.command_line = taviro::JoinHandOffPaths(arguments.paths);
  config.service_base_url = taviro::build_config::kServiceBaseUrl;
  config.player_download_url = taviro::build_config::kPlayerDownloadUrl;
  config.sentinel_url = taviro::build_config::kSentinelUrl;
  ApplyServiceOverride(config);
  taviro::gtk::DesktopApp app(std::move(config));
  return app.Run();
}
