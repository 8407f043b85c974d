#include "playback/list_commands.h"

#include <string_view>

#include "lists/list_links.h"
#include "lists/media_lists.h"
#include "playback/play_list_entry.h"
#include "playback/playback_context.h"
#include "ports/menu_presenter.h"
#include "ports/player_control.h"
#include "ports/prompt.h"
#include "ports/web_view.h"
#include "util/translate.h"
#include "window/main_window.h"
#include "window/title_bar_commands.h"
#include "window/window_design.h"

namespace taviro {
namespace {

constexpr std::string_view kClearLocalQuestion = N_("确定要删除全部[本地播放]列表吗？");
constexpr std::string_view kClearTasksQuestion = N_("确定要删除全部[网络任务]列表吗？");

bool AskYesNo(MainWindow& window, std::string_view question) {
  return window.ports.prompt.AskYesNo(std::string(kPromptCaption), std::string(question));
}

}  // namespace

ListCommands::ListCommands(PlaybackContext& context, UriLauncher& desktop)
    : context_(context), desktop_(desktop) {}

void ListCommands::NavigateTaskView(const std::string& uri) {
  context_.window.ports.web.View(WebViewRole::kTaskList).Navigate(uri);
}

bool ListCommands::Web3BeforeNavigate(const std::string& uri) {
  if (uri.starts_with(kDeleteScheme)) {
    DeleteEntry(uri);
    return true;
  }
  if (uri.starts_with(kOpenScheme)) {
    PlayListEntry(context_, OpenLinkLine(uri));
    return true;
  }
  return false;
}

bool ListCommands::Web4BeforeNavigate(const std::string& uri) {
  if (uri.starts_with(kDeleteScheme)) {
    NavigateTaskView(uri);
    context_.window.ports.web.View(WebViewRole::kLocalFileList).Refresh();
    return true;
  }
  if (uri.starts_with(kOpenScheme)) {
    NavigateTaskView(uri);
    return true;
  }
  return false;
}

void ListCommands::DeleteEntry(const std::string& uri) {
  context_.lists.DeleteListLine(ActiveList(context_.window.model), DeleteLinkLine(uri));
  // The episode list may show the catalogue item just removed.
  if (context_.now.item_kind != ItemKind::kCatalogue)
    context_.window.ports.web.View(WebViewRole::kEpisodeList).Refresh();
}

void ListCommands::Web3ContextMenu(const ContextMenuRequest& request) {
  if (request.link_uri.find(kOpenScheme) == std::string::npos) return;
  selected_list_link_ = request.link_uri;
  context_.window.ports.menus.PopupAt(PopupMenu::webc, request.x, request.y);
}

void ListCommands::Web7ContextMenu(const ContextMenuRequest& request) {
  WindowPorts& ports = context_.window.ports;
  if (!ports.player.Url().empty()) ports.menus.PopupAt(PopupMenu::qvod_m, request.x, request.y);
}

void ListCommands::QkClick() {
  MainWindow& window = context_.window;
  window.model[RegionId::qk].fore_colour = kFooterGrey;
  if (!LocalListActive(window.model)) {
    window.ports.menus.PopupAtPointer(PopupMenu::c_fie);
    return;
  }
  if (AskYesNo(window, kClearLocalQuestion)) context_.lists.ClearList(ListFile::kLocalFiles);
}

void ListCommands::ClearNetworkTasks() {
  MainWindow& window = context_.window;
  if (LocalListActive(window.model)) return;
  if (AskYesNo(window, kClearTasksQuestion)) context_.lists.ClearList(ListFile::kNetworkTasks);
}

void ListCommands::PlaySelectedRow() {
  if (selected_list_link_.find("//") == std::string::npos) return;
  NavigateTaskView(std::string(kOpenScheme) + RemoveAll(selected_list_link_, kOpenScheme));
}

void ListCommands::DeleteSelectedRow() {
  if (selected_list_link_.find("//") == std::string::npos) return;
  NavigateTaskView(std::string(kDeleteScheme) + RemoveAll(selected_list_link_, kOpenScheme));
}

}  // namespace taviro
