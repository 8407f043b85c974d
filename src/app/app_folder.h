#pragma once

#include <filesystem>
#include <string_view>

namespace taviro {

// The folder that holds the settings, the lists and their pages: the
// program's own folder, as a portable application keeps them, or
// `data_home`/taviro when the program's folder cannot be written (an
// installation owned by root, or any program folder <root>/lib/taviro, as a
// system installation lays it out). Files that must lie beside the pages (the
// delete icon) are copied there. Returns the folder with a trailing "/".
std::filesystem::path ResolveAppFolder(const std::filesystem::path& program_folder,
                                       const std::filesystem::path& data_home);

// The data home of the XDG base directories: $XDG_DATA_HOME when set and
// absolute, else $HOME/.local/share.
std::filesystem::path XdgDataHome(const char* xdg_data_home, const char* home);

// The folder of the running executable.
std::filesystem::path ProgramFolder();

}  // namespace taviro
