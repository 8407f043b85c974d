#include <gtk/gtk.h>
#include <libintl.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line_files.h"
#include "app/hand_off_paths.h"
#include "app/program_arguments.h"
#include "linux/gtk/accessible_controls.h"
#include "linux/gtk/cpu_only_graphics.h"
#include "linux/gtk/desktop_app.h"
#include "linux/gtk/gtk_prompt.h"
#include "linux/mpv/heap_return.h"
#include "services/service_address.h"
#include "taviro_build_config.h"
#include "util/app_folder.h"
#include "util/translate.h"

namespace {

// The service the user points the program at: TAVIRO_SERVICE_BASE_URL, else
// `base_url` in the [service] group of $XDG_CONFIG_HOME/taviro/service.ini,
// else the one built in. Nothing: the program starts its own.
std::optional<std::string> GivenServiceBase() {
  if (const char* base = std::getenv("TAVIRO_SERVICE_BASE_URL"); base != nullptr && *base != '\0') {
    return taviro::GivenServiceBase(base);
  }
  const std::string file =
      (std::filesystem::path(g_get_user_config_dir()) / "taviro" / "service.ini").string();
  GKeyFile* settings = g_key_file_new();
  gchar* base = nullptr;
  // A missing or unreadable file names no service.
  if (g_key_file_load_from_file(settings, file.c_str(), G_KEY_FILE_NONE, nullptr)) {
    base = g_key_file_get_string(settings, "service", "base_url", nullptr);
  }
  g_key_file_free(settings);
  std::optional<std::string> given = taviro::GivenServiceBase(base != nullptr ? base : "");
  g_free(base);
  return given ? given : taviro::GivenServiceBase(taviro::build_config::kServiceBaseUrl);
}

// A given service also serves the web site and the player's download page.
// The program's own is private to its user and ends with the program: those
// pages are the product's home page then, and the base URL comes later.
void ChooseService(taviro::gtk::DesktopConfig& config, const std::vector<std::string>& library_folders,
                   const std::string& working_folder) {
  if (const std::optional<std::string> base = GivenServiceBase()) {
    config.service_base_url = *base;
    config.site_url = *base;
    config.player_download_url = *base + "download/player.htm";
    return;
  }
  config.own_service = true;
  config.site_url = taviro::build_config::kHomepageUrl;
  config.player_download_url = taviro::build_config::kHomepageUrl;
  for (const std::string& folder : library_folders) {
    config.service_arguments.push_back("--library");
    config.service_arguments.push_back((std::filesystem::path(working_folder) / folder).string());
  }
}

// $HOME, or the home the user database names when it is unset.
const char* HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    return home;
  }
  const passwd* entry = ::getpwuid(::getuid());
  return entry != nullptr ? entry->pw_dir : nullptr;
}

// A folder another user could plant settings in is not used: the user is
// told why and the program ends.
int RefuseFolder(const std::filesystem::path& folder) {
  const std::string text = taviro::RefusedFolderText(folder);
  std::fprintf(stderr, "taviro: %s\n", text.c_str());  // also seen where no one reads the box
  taviro::gtk::GtkPrompt prompt;
  prompt.Inform("提示：", text);
  return 1;
}

// The desktop matches windows to the installed desktop file by this name:
// the Wayland app id and the X11 class.
constexpr const char* kAppId = "org.taviro.Taviro";

// The catalogues lie beside the program, in a portable folder, the
// package's folder and the build tree alike.
void UseCatalogues() {
  // The C library shows every text as written in the C locale, and ignores
  // LANGUAGE there: a user who chose no language reads English, not the
  // Chinese the texts are written in.
  const std::string messages = std::setlocale(LC_MESSAGES, nullptr);
  const bool plain = messages == "C" || messages == "POSIX";
  if (plain || messages.starts_with("C.")) {
    const char* language = std::getenv("LANGUAGE");
    if (std::setlocale(LC_MESSAGES, "C.UTF-8") != nullptr &&
        (plain || language == nullptr || *language == '\0')) {
      setenv("LANGUAGE", "en", 1);
    }
  }
  bindtextdomain(taviro::kTextDomain, (taviro::ProgramFolder() / "locale").c_str());
  bind_textdomain_codeset(taviro::kTextDomain, "UTF-8");
}

// Tells on stderr which paths of the command line are no files to play. The
// window that takes the command line leaves them out and tells its user too.
void ReportRefusedFiles(const std::vector<std::string>& paths, const std::string& working_folder) {
  for (const taviro::RefusedFile& file :
       taviro::ScreenCommandLine(taviro::JoinHandOffPaths(paths), working_folder).refused) {
    std::fputs(taviro::RefusedFileLine(file).c_str(), stderr);
  }
}

// --help, --version or an unknown option: the exit code once the text is out.
int AnswerWithoutWindow(const taviro::ProgramArguments& arguments) {
  switch (arguments.action) {
    case taviro::ProgramAction::kShowHelp: std::fputs(taviro::HelpText().c_str(), stdout); break;
    case taviro::ProgramAction::kShowVersion: std::fputs(taviro::VersionText().c_str(), stdout); break;
    case taviro::ProgramAction::kBadOption:
      std::fputs(taviro::BadOptionText(arguments.bad_option).c_str(), stderr);
      return taviro::kBadOptionExitCode;
    case taviro::ProgramAction::kRun: break;
  }
  return 0;
}

// The launcher's word that this start may bring a window to the front. GDK
// takes it out of the environment when it opens the display.
std::string ActivationToken() {
  for (const char* name : {"XDG_ACTIVATION_TOKEN", "DESKTOP_STARTUP_ID"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return value;
  }
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  taviro::mpv::LimitHeapArenas();
  taviro::gtk::KeepCpuRasterizerOut();
  // The user's locale, as GTK would set it, but without its warning on a
  // locale the system lacks: terminal answers stay clean.
  gtk_disable_setlocale();
  std::setlocale(LC_ALL, "");
  UseCatalogues();
  // GTK's own options (--display, --name, --class ...) are taken out first;
  // what is left is the program's. No display is opened yet.
  gtk_parse_args(&argc, &argv);
  const taviro::ProgramArguments arguments =
      taviro::ParseProgramArguments(std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
  if (arguments.action != taviro::ProgramAction::kRun) {
    return AnswerWithoutWindow(arguments);
  }
  std::error_code no_folder;  // then relative paths stay as given
  const std::string working_folder = std::filesystem::current_path(no_folder).string();
  ReportRefusedFiles(arguments.paths, working_folder);
  g_set_prgname(kAppId);
  g_set_application_name("Taviro");
  const std::string activation_token = ActivationToken();
  if (!gtk_init_check(nullptr, nullptr)) {
    std::fputs(taviro::NoDisplayText().c_str(), stderr);
    return taviro::kNoDisplayExitCode;
  }
  // GTK names the program to assistive technology by its id otherwise.
  taviro::gtk::NameProgram();
  // The player library refuses any locale whose numbers are not written the C
  // way; the interface stays in the user's language.
  std::setlocale(LC_NUMERIC, "C");
  gdk_set_program_class(kAppId);

  taviro::gtk::DesktopConfig config;
  config.program_folder = taviro::ProgramFolder();
  const taviro::AppFolderChoice choice = taviro::ResolveAppFolder(
      config.program_folder, taviro::XdgDataHome(std::getenv("XDG_DATA_HOME"), HomeFolder()));
  if (choice.refused) {
    return RefuseFolder(choice.folder);
  }
  config.app_folder = choice.folder;
  config.command_line = taviro::JoinHandOffPaths(arguments.paths);
  config.working_folder = working_folder;
  config.activation_token = activation_token;
  ChooseService(config, arguments.library_folders, working_folder);
  taviro::gtk::DesktopApp app(std::move(config));
  return app.Run();
}
