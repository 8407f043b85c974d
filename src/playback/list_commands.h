#pragma once

#include <string>
#include <vector>

namespace taviro {

struct ContextMenuRequest;
struct PlaybackContext;
class UriLauncher;

// The commands of the two list pages, the network-task row menu and the
// side panel's footer. Every row link of either page ends up in
// Web3BeforeNavigate, which acts on the list that is shown.
class ListCommands {
 public:
  // `desktop` shows folders in the user's file manager.
  ListCommands(PlaybackContext& context, UriLauncher& desktop);

  // Before-navigate handlers of the two list views; true cancels.
  bool Web3BeforeNavigate(const std::string& uri);
  bool Web4BeforeNavigate(const std::string& uri);

  // A right click on a row of the network-task page remembers the row and
  // offers its menu; elsewhere on the page nothing appears.
  void Web3ContextMenu(const ContextMenuRequest& request);
  // A right click on the pause advertisement offers the player menu while
  // the player holds something.
  void Web7ContextMenu(const ContextMenuRequest& request);

  // The side panel's footer: clears the local list after asking, or offers
  // the network-task list menu.
  void QkClick();

  // The row menu: play, delete, delete the task's downloaded files.
  void PlaySelectedRow();
  void DeleteSelectedRow();
  void DeleteSelectedTaskFiles();
  // The list menu: clear the network tasks, show the download folder.
  void ClearNetworkTasks();
  void ShowDownloadFolder();

 private:
  void DeleteEntry(const std::string& uri);
  void NavigateTaskView(const std::string& uri);
  void OfferToDeleteDownloads(const std::string& name, const std::string& key);
  void DeleteDownloads(const std::string& folder, const std::vector<std::string>& names);
  // The download helper's save folder, from its installation folder.
  std::string SaveFolder();

  PlaybackContext& context_;
  UriLauncher& desktop_;
  // The row link last right-clicked, e.g. "open://3"; empty until then.
  std::string selected_list_link_;
};

}  // namespace taviro
