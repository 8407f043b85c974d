#include <gtk/gtk.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/app_folder.h"
#include "platform/linux/gtk/desktop_app.h"
#include "taviro_build_config.h"

namespace {

// The command line as one text, the arguments joined by single blanks: the
// program takes it whole as one media path.
std::string JoinArguments(int argc, char** argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) {
      line += ' ';
    }
    line += argv[i];
  }
  return line;
}

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
  const std::string command_line = JoinArguments(argc, argv);
  gtk_init(nullptr, nullptr);
  // The player library refuses any locale whose numbers are not written the C
  // way; the interface stays in the user's language.
  std::setlocale(LC_NUMERIC, "C");

  taviro::gtk::DesktopConfig config;
  config.app_folder = taviro::ResolveAppFolder(
      taviro::ProgramFolder(), taviro::XdgDataHome(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")));
  config.command_line = command_line;
  std::error_code no_folder;  // then relative paths stay as given
  config.working_folder = std::filesystem::current_path(no_folder).string();
  config.service_base_url = taviro::build_config::kServiceBaseUrl;
  config.player_download_url = taviro::build_config::kPlayerDownloadUrl;
  config.sentinel_url = taviro::build_config::kSentinelUrl;
  ApplyServiceOverride(config);
  taviro::gtk::DesktopApp app(std::move(config));
  return app.Run();
}
