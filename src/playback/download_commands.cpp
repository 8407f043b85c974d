// The list commands that reach into the download helper's save folder.
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "helper/vendor_save_path.h"
#include "lists/downloaded_files.h"
#include "lists/list_links.h"
#include "lists/media_lists.h"
#include "playback/list_commands.h"
#include "playback/playback_context.h"
#include "ports/prompt.h"
#include "ports/uri_launcher.h"
#include "util/file_uri.h"
#include "util/folder_listing.h"
#include "util/text_number.h"
#include "util/translate.h"
#include "window/main_window.h"
#include "window/npc_buttons.h"
#include "window/title_bar_commands.h"
#include "window/tray_controller.h"

namespace taviro {
namespace {

constexpr std::string_view kAllFiles = "*.*";
constexpr std::string_view kFilesInUseBalloon = N_("部分文件可能正在使用中，未删除成功！请手动删除！");

bool FolderHasFiles(const std::string& folder) {
  std::vector<std::string> names;
  return ListFolderFiles(folder, names, kAllFiles);
}

// The save folder ends with "/", and the helper's files are named by
// appending to it, as the helper itself does.
std::string InFolder(const std::string& folder, const std::string& name) { return folder + name; }

bool Exists(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::exists(path, ignored);
}

}  // namespace

std::string ListCommands::SaveFolder() {
  // The helper's files are kept with the program's settings, wherever the
  // helper itself is installed.
  std::string folder = ReadSavePath(VendorFilesFolder(context_.app_folder));
  // File paths are the folder and a name joined: a folder typed without its
  // final "/" must not turn them into names beside it.
  if (!folder.empty() && !folder.ends_with('/')) folder += '/';
  return folder;
}

void ListCommands::ShowDownloadFolder() {
  MainWindow& window = context_.window;
  const std::string folder = SaveFolder();
  if (!FolderHasFiles(folder)) {
    window.ports.prompt.Inform(std::string(kPromptCaption), "路径" + folder + "还没有任何影片。");
    return;
  }
  // The file manager must not open behind a window that stays on top.
  if (window.model.topmost) ToggleTopmost(window);
  desktop_.Open(FileUri(folder));
}

void ListCommands::DeleteSelectedTaskFiles() {
  if (selected_list_link_.find("//") == std::string::npos) return;
  const std::string line = RowLinkLine(selected_list_link_);
  const std::string record =
      context_.lists.ReadListLine(ListFile::kNetworkTasks, ToInteger(line)).value_or(std::string());
  const std::string name = DownloadFileName(record);
  if (!name.empty()) OfferToDeleteDownloads(name, DownloadKey(record, context_.window.ServiceBaseUrl));
  // The task goes in every case once the user has answered.
  NavigateTaskView(std::string(kDeleteScheme) + line);
}

// Exactly the files the helper made for this task's name: another task's
// files, or anything else in the folder, are never offered.
void ListCommands::OfferToDeleteDownloads(const std::string& name, const std::string& key) {
  const std::string folder = SaveFolder();
  const std::vector<std::string> matching = DownloadedFilesIn(folder, name, key);
  if (matching.empty()) return;
  MainWindow& window = context_.window;
  if (window.ports.prompt.AskYesNo(std::string(kPromptCaption), DeleteDownloadsQuestion(folder, matching))) {
    DeleteDownloads(folder, matching);
  } else if (FolderHasFiles(folder)) {
    // The user may want to pick the files by hand.
    desktop_.Open(FileUri(folder));
  }
}

void ListCommands::DeleteDownloads(const std::string& folder, const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    std::error_code ignored;  // a file in use is reported once, below
    std::filesystem::remove(InFolder(folder, name), ignored);
  }
  for (const std::string& name : names) {
    if (Exists(InFolder(folder, name))) {
      ShowBalloon(context_.window.ports.tray, kFilesInUseBalloon);
      return;
    }
  }
}

}  // namespace taviro
