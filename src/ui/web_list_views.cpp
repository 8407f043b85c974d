#include "ui/web_list_views.h"

#include "ports/web_view.h"
#include "util/file_uri.h"

namespace taviro {

void WebListViews::ShowListPage(ListFile which, const std::filesystem::path& page) {
  web_.View(which == ListFile::kNetworkTasks ? WebViewRole::kTaskList : WebViewRole::kLocalFileList)
      .Navigate(FileUri(page));
}

}  // namespace taviro
