#include "user_library/library_places.h"

#include <glib.h>

#include <filesystem>
#include <iostream>
#include <memory>

namespace taviro::demo {
namespace {

struct KeyFileFree {
  void operator()(GKeyFile* file) const { g_key_file_free(file); }
};
using KeyFile = std::unique_ptr<GKeyFile, KeyFileFree>;

constexpr const char* kGroup = "library";
constexpr const char* kFoldersKey = "folders";

std::string Under(const char* base, const char* name) {
  return (std::filesystem::path(base) / "taviro" / name).string();
}

}  // namespace

LibraryPlaces FindLibraryPlaces() {
  LibraryPlaces places;
  const char* videos = g_get_user_special_dir(G_USER_DIRECTORY_VIDEOS);
  places.videos_folder =
      videos != nullptr ? std::string(videos) : (std::filesystem::path(g_get_home_dir()) / "Videos").string();
  places.settings_file = Under(g_get_user_config_dir(), "service.ini");
  places.index_file = Under(g_get_user_data_dir(), "library.sqlite");
  places.poster_cache = Under(g_get_user_cache_dir(), "posters");
  return places;
}

std::vector<std::string> ReadKeptFolders(const std::string& settings_file) {
  KeyFile file(g_key_file_new());
  if (!g_key_file_load_from_file(file.get(), settings_file.c_str(), G_KEY_FILE_KEEP_COMMENTS, nullptr))
    return {};
  gsize count = 0;
  gchar** list = g_key_file_get_string_list(file.get(), kGroup, kFoldersKey, &count, nullptr);
  std::vector<std::string> folders;
  for (gsize i = 0; i < count; ++i) {
    if (list[i][0] != '\0') folders.emplace_back(list[i]);
  }
  g_strfreev(list);
  return folders;
}

bool WriteKeptFolders(const std::string& settings_file, const std::vector<std::string>& folders) {
  KeyFile file(g_key_file_new());
  // A missing file starts empty; a broken one is replaced.
  g_key_file_load_from_file(file.get(), settings_file.c_str(), G_KEY_FILE_KEEP_COMMENTS, nullptr);
  std::vector<const gchar*> list;
  list.reserve(folders.size());
  for (const std::string& folder : folders) list.push_back(folder.c_str());
  g_key_file_set_string_list(file.get(), kGroup, kFoldersKey, list.data(), list.size());
  std::error_code ignored;  // the save below says whether the folder is there
  std::filesystem::create_directories(std::filesystem::path(settings_file).parent_path(), ignored);
  GError* error = nullptr;
  const bool saved = g_key_file_save_to_file(file.get(), settings_file.c_str(), &error);
  if (!saved) {
    std::cerr << "taviro-service: cannot save " << settings_file << ": " << error->message << "\n";
    g_error_free(error);
  }
  return saved;
}

}  // namespace taviro::demo
