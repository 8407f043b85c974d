#include "lists/list_links.h"

#include "util/text_number.h"
#include "window/window_model.h"

namespace taviro {
namespace {

constexpr std::string_view kLocalListMarker = "列表";

void DropTrailingSlash(std::string& text) {
  if (!text.empty() && text.back() == '/') text.pop_back();
}

}  // namespace

bool LocalListActive(const WindowModel& model) {
  return model[RegionId::qk].caption.find(kLocalListMarker) != std::string::npos;
}

ListFile ActiveList(const WindowModel& model) {
  return LocalListActive(model) ? ListFile::kLocalFiles : ListFile::kNetworkTasks;
}

std::string RemoveAll(std::string_view text, std::string_view what) {
  std::string result;
  if (what.empty()) return std::string(text);
  std::size_t from = 0;
  for (std::size_t at = text.find(what); at != std::string_view::npos; at = text.find(what, from)) {
    result.append(text.substr(from, at - from));
    from = at + what.size();
  }
  result.append(text.substr(from));
  return result;
}

int DeleteLinkLine(std::string_view uri) { return ToInteger(RemoveAll(RemoveAll(uri, kDeleteScheme), "/")); }

std::string OpenLinkLine(std::string_view uri) {
  std::string line = RemoveAll(uri, kOpenScheme);
  DropTrailingSlash(line);
  return line;
}

std::string RowLinkLine(std::string_view link) {
  std::string line = RemoveAll(RemoveAll(link, kOpenScheme), kDeleteScheme);
  DropTrailingSlash(line);
  return line;
}

}  // namespace taviro
