#pragma once

#include <string>
#include <vector>

namespace taviro::demo {

// Where the library lives on this account, by the XDG rules.
struct LibraryPlaces {
  std::string videos_folder;  // the user's videos folder, else ~/Videos
  std::string settings_file;  // $XDG_CONFIG_HOME/taviro/service.ini
  std::string index_file;     // $XDG_DATA_HOME/taviro/library.sqlite
  std::string poster_cache;   // $XDG_CACHE_HOME/taviro/posters
};

LibraryPlaces FindLibraryPlaces();

// The folders kept in the settings file's [library] folders= list; nothing
// when the file or the key is missing or unreadable.
std::vector<std::string> ReadKeptFolders(const std::string& settings_file);
// Writes the list, keeping whatever else the file holds (a user may edit it).
bool WriteKeptFolders(const std::string& settings_file, const std::vector<std::string>& folders);

}  // namespace taviro::demo
