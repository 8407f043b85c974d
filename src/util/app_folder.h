#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace taviro {

// The folder that holds the settings, the lists and their pages: the
// program's own folder, as a portable application keeps them, or
// `data_home`/taviro when the program's folder cannot be written (an
// installation owned by root, or any program folder <root>/lib/taviro, as a
// system installation lays it out). Files that must lie beside the pages (the
// delete icon) are copied there. The folder comes with a trailing "/".
//
// The settings name a program to start, so the folder must be the user's
// alone: one that another user owns or may write into is refused, as is a
// missing data home.
struct AppFolderChoice {
  std::filesystem::path folder;
  bool refused = false;
};
AppFolderChoice ResolveAppFolder(const std::filesystem::path& program_folder,
                                 const std::filesystem::path& data_home, uid_t user = ::getuid(),
                                 gid_t group = ::getgid());

// Whether `folder` is the user's alone: owned by `user`, writable by nobody
// else (by its group only when that is the user's own group).
bool IsPrivateFolder(const std::filesystem::path& folder, uid_t user, gid_t group);

// What the user is told when the folder is refused.
std::string RefusedFolderText(const std::filesystem::path& folder);

// The data home of the XDG base directories: $XDG_DATA_HOME when set and
// absolute, else `home`/.local/share; empty when neither is absolute.
std::filesystem::path XdgDataHome(const char* xdg_data_home, const char* home);

// The folder of the running executable.
std::filesystem::path ProgramFolder();

}  // namespace taviro
