#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "lists/list_file.h"
#include "lists/list_views.h"

namespace taviro {

// The network-task and local-file lists: their files in the application
// folder and the pages that show them. Nothing is kept between calls; every
// operation reads its file, writes it back whole and, when what the user sees
// changed, renders the page and has the list view load it.
//
// A list file that cannot be read makes an operation do nothing at all; a
// write that fails leaves the old file (and its page) whole. Callers are not
// told either way: none of them could do anything about it.
class MediaLists {
 public:
  MediaLists(std::filesystem::path app_folder, ListViews& views);

  // Puts the task on top of date.dat, replacing the record with the same id.
  void AddNetworkTask(int id, std::string_view title, std::string_view episode_name,
                      std::string_view media_url, int source, int episode, int position);
  void UpdateNetworkTaskPosition(int id, int position);

  // Puts the file on top of date_f.dat, replacing the record with the same path.
  void AddLocalFile(std::string_view display_name, std::string_view path, int position);
  void UpdateLocalFilePosition(std::string_view path, int position);

  // Removes the line the page's links call `line_number`.
  void DeleteListLine(ListFile file, int line_number);
  // Empties an existing list.
  void ClearList(ListFile file);

  // Start-up: an empty list for each missing file, then every page rendered
  // from its list. A list is renamed into place before its page, so a
  // process killed between the two leaves the page behind its list; the
  // next start mends that. The pages are not shown: the window loads its
  // views itself.
  void CreateMissingListFiles();
  void RenderListPages();

  // Line `line_number` of the list (from 1, as the page links count), empty
  // when there is no such line; nothing when the file cannot be read.
  std::optional<std::string> ReadListLine(ListFile file, int line_number) const;
  // The local list's line next to the record for `path` (LocalNeighbourLine).
  std::optional<int> LocalNeighbour(std::string_view path, int step) const;

  std::filesystem::path ListFilePath(ListFile file) const;
  std::filesystem::path ListPagePath(ListFile file) const;

 private:
  std::optional<std::string> ReadList(ListFile file) const;
  bool WriteList(ListFile file, std::string_view list_text) const;
  void WriteListAndRender(ListFile file, std::string_view list_text);
  void WriteUpdate(ListFile file, std::string_view before, std::string_view after);
  bool WritePage(ListFile file, std::string_view list_text) const;
  void RenderFrom(ListFile file, std::string_view list_text);

  std::filesystem::path app_folder_;
  ListViews& views_;
};

}  // namespace taviro
