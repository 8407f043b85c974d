#include "app/app_folder.h"

#include <unistd.h>

#include <system_error>

namespace taviro {
namespace {

constexpr std::string_view kFilesBesidePages[] = {"i.gif"};

bool IsWritableFolder(const std::filesystem::path& folder) {
  return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

// A program installed for the whole system (the Debian package puts it in
// /usr/lib/taviro) never keeps files beside itself, not even when root runs
// it and could write there.
bool InstalledForTheSystem(const std::filesystem::path& program_folder) {
  const std::filesystem::path folder = program_folder.lexically_normal();
  const std::filesystem::path name = folder.has_filename() ? folder.filename() : folder.parent_path().filename();
  const std::filesystem::path parent =
      folder.has_filename() ? folder.parent_path().filename() : folder.parent_path().parent_path().filename();
  return name == "taviro" && parent == "lib";
}

std::filesystem::path WithTrailingSlash(std::filesystem::path folder) {
  folder += "/";
  return folder.lexically_normal();
}

}  // namespace

std::filesystem::path ResolveAppFolder(const std::filesystem::path& program_folder,
                                       const std::filesystem::path& data_home) {
  if (!InstalledForTheSystem(program_folder) && IsWritableFolder(program_folder)) {
    return WithTrailingSlash(program_folder);
  }
  const std::filesystem::path folder = data_home / "taviro";
  std::error_code ignored;  // a folder that cannot be made shows up as files that cannot be written
  std::filesystem::create_directories(folder, ignored);
  for (std::string_view name : kFilesBesidePages) {
    const std::filesystem::path target = folder / name;
    if (!std::filesystem::exists(target, ignored)) {
      std::filesystem::copy_file(program_folder / name, target, ignored);
    }
  }
  return WithTrailingSlash(folder);
}

std::filesystem::path XdgDataHome(const char* xdg_data_home, const char* home) {
  if (xdg_data_home != nullptr && xdg_data_home[0] == '/') {
    return xdg_data_home;
  }
  return std::filesystem::path(home != nullptr ? home : "/tmp") / ".local/share";
}

std::filesystem::path ProgramFolder() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) {
    return std::filesystem::current_path(error);
  }
  return exe.parent_path();
}

}  // namespace taviro
