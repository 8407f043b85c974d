#include "util/app_folder.h"

#include <sys/stat.h>
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
  const std::filesystem::path name =
      folder.has_filename() ? folder.filename() : folder.parent_path().filename();
  const std::filesystem::path parent =
      folder.has_filename() ? folder.parent_path().filename() : folder.parent_path().parent_path().filename();
  return name == "taviro" && parent == "lib";
}

std::filesystem::path WithTrailingSlash(std::filesystem::path folder) {
  folder += "/";
  return folder.lexically_normal();
}

}  // namespace

bool IsPrivateFolder(const std::filesystem::path& folder, uid_t user, gid_t group) {
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != user) {
    return false;
  }
  const bool group_may_write = (info.st_mode & S_IWGRP) != 0 && info.st_gid != group;
  return (info.st_mode & S_IWOTH) == 0 && !group_may_write;
}

std::string RefusedFolderText(const std::filesystem::path& folder) {
  return "数据文件夹“" + folder.string() +
         "”不属于当前用户，或其他用户也能写入，程序不能安全地使用它。"
         "请改正它的所有者和权限后再启动本软件。";
}

AppFolderChoice ResolveAppFolder(const std::filesystem::path& program_folder,
                                 const std::filesystem::path& data_home, uid_t user, gid_t group) {
  if (!InstalledForTheSystem(program_folder) && IsWritableFolder(program_folder)) {
    const std::filesystem::path folder = WithTrailingSlash(program_folder);
    return {folder, !IsPrivateFolder(program_folder, user, group)};
  }
  if (data_home.empty()) {
    return {std::filesystem::path(), true};
  }
  const std::filesystem::path folder = data_home / "taviro";
  std::error_code ignored;  // a folder that cannot be made is refused below
  std::filesystem::create_directories(folder, ignored);
  if (!IsPrivateFolder(folder, user, group)) {
    return {WithTrailingSlash(folder), true};
  }
  for (std::string_view name : kFilesBesidePages) {
    const std::filesystem::path target = folder / name;
    if (!std::filesystem::exists(target, ignored)) {
      std::filesystem::copy_file(program_folder / name, target, ignored);
    }
  }
  return {WithTrailingSlash(folder), false};
}

std::filesystem::path XdgDataHome(const char* xdg_data_home, const char* home) {
  if (xdg_data_home != nullptr && xdg_data_home[0] == '/') {
    return xdg_data_home;
  }
  if (home != nullptr && home[0] == '/') {
    return std::filesystem::path(home) / ".local/share";
  }
  return {};  // never a shared place such as /tmp
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
